// SPDX-License-Identifier: GPL-3.0-or-later
// The fonts dialog's rules without a window: which button chooses which
// style, how a confirmed choice becomes the style's description, and storing
// the five styles with the program's terse failure reports.
#pragma once

#include <cstdint>
#include <string>

#include "core/settings/settings_store.h"
#include "core/settings/config_ids.h"

namespace platform {
class HostUi;
}

/// The dialog's buttons, top to bottom: control id and the style it chooses for.
struct FontTarget {
    int controlId;
    StyleIndex style;
};
inline constexpr FontTarget kFontTargets[] = {
    {ID_FONT_PLAIN_TITLE, kStylePlainTitle}, {ID_FONT_SELECTED_TITLE, kStyleSelectedTitle},
    {ID_FONT_FOUND_TITLE, kStyleFoundTitle}, {ID_FONT_ANNOTATION, kStyleAnnotation},
    {ID_FONT_HEADING, kStyleHeading},
};

/// What the font chooser returns when confirmed.
struct FontChoice {
    std::string faceName;     ///< 1251, at most 31 characters
    std::int32_t height = 0;  ///< as a LOGFONT holds it
    std::int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    ColorRef color = 0;
};

/// The style after a confirmed choice: face, height, weight, slant, effects
/// and colour are the chosen ones; width, escapement and orientation are
/// reset as for any font picked by name; the character set and the rendering
/// fields, which the chooser does not offer, are kept.
TextStyle ApplyFontChoice(TextStyle style, const FontChoice& choice);

/// Stores "NameFont" and then "LogFont_1" to "LogFont_5". A face-name write
/// that fails once the key is open shows "k.t.1", each failing record "k.t.2",
/// each followed by a line naming the settings file and the reason; the
/// remaining records are still written. A key that cannot be opened stores
/// nothing and reports nothing.
void StoreTextStylesReporting(const TextStyles& styles, platform::HostUi& host);

/// The same for only what the dialog changed (settings::StoreChangedTextStyles).
void StoreChangedTextStylesReporting(const TextStyles& before, const TextStyles& after, platform::HostUi& host);
