// SPDX-License-Identifier: GPL-3.0-or-later
// A style's font description turned into a plain request that the window
// can build a font from, without any toolkit type here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/settings/settings_store.h"

/// How the description's height is to be read.
enum class FontSizeKind {
    Default,          ///< height 0: the system's usual size
    CharacterHeight,  ///< negative height: pixels of the character without internal leading
    CellHeight,       ///< positive height: pixels of the whole cell (ascent + descent)
};

struct FontRequest {
    FontSizeKind sizeKind = FontSizeKind::Default;
    int pixelHeight = 0;  ///< 1 .. kMaxFontPixelHeight; 0 with Default
    int weight = 400;     ///< 100 .. 900 in steps of 100 (400 normal, 700 bold)
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    /// As stored, in code page 1251. Empty, or a face the machine lacks (such
    /// as the default "Ms Sans Serif"), is to be replaced by the system's
    /// sans-serif face of the same size.
    std::string faceName;
    bool operator==(const FontRequest&) const = default;
};

/// Larger heights come only from damaged settings; they are cut down to this.
inline constexpr int kMaxFontPixelHeight = 1000;

FontRequest FontRequestFrom(const LogFont& font);

/// The request as drawn under the desktop's text scale (1 = none): pixel
/// heights grow with it, rounded and kept within 1 .. kMaxFontPixelHeight;
/// the default size is already scaled by the toolkit. A scale that is not a
/// positive finite number counts as 1.
FontRequest ScaledForDesktop(FontRequest request, double textScale);

/// The nearest of the nine weight classes 100 .. 900 (halfway rounds up);
/// 0 and negative weights are normal (400).
int WeightClass(std::int32_t weight);

/// The largest character height whose cell height, as `cellHeightOf` reports
/// it for a font of that character height, does not exceed `cellHeight`; 1
/// when even the smallest is taller. `cellHeightOf` must grow with its argument.
int CharacterHeightForCell(int cellHeight, const std::function<int(int)>& cellHeightOf);

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

/// The colour of a COLORREF 0x00BBGGRR.
Rgb RgbOf(ColorRef color);
