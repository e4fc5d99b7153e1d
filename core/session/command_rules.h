// SPDX-License-Identifier: GPL-3.0-or-later
// When the main frame's commands are enabled: plain rules over the state the
// frame reads from its panes, testable without a window.
#pragma once

/// "Читать" is enabled while an issue, a search result or a favourites section
/// is chosen.
constexpr bool ReadCommandEnabled(bool issueChosen, bool resultSelected, bool sectionChosen)
{
    return issueChosen || resultSelected || sectionChosen;
}
