// SPDX-License-Identifier: GPL-3.0-or-later
// What the article view keeps between events: its display mode, the scroll
// state of the last paint, the selection's saved state and the keyboard
// cursor.
#pragma once

#include <cstdint>

#include "core/library/issue_record.h"

/// Client and clip rectangles share the hit rectangle's layout (client
/// coordinates, right and bottom exclusive).
using PixelRect = HitRect;

struct ArticleViewState {
    bool issueMode = true;      ///< the session's mode, copied in for the rules that read it here
    int scrollPosition = 0;     ///< pixels the list is shifted upwards
    int scrollMaximum = 0;      ///< upper end of the scroll range, set by each paint
    int lineStep = 0;           ///< cell height measured last by the last paint
    std::int32_t savedState = kMarkPlain;  ///< the selected entry's mark before it was selected
    /// The entry the keys act on: the one selected last, by click or key.
    /// It counts only while the view shows what it was chosen in.
    int cursorEntry = -1;
    int cursorIndex = -1;
    bool cursorIssueMode = true;
};

/// The current index seen by the previous paint, shared by the whole process;
/// -1 before the first paint.
int& ProcessLastPaintedIndex();
