// SPDX-License-Identifier: GPL-3.0-or-later
// LOGFONT description to font request.
#include "core/view/font_request.h"

#include <algorithm>
#include <cmath>

namespace {

int ClampedPixels(std::int64_t pixels) {
    return static_cast<int>(std::clamp<std::int64_t>(pixels, 1, kMaxFontPixelHeight));
}

}  // namespace

int WeightClass(std::int32_t weight) {
    if (weight <= 0) return 400;
    std::int64_t rounded = (static_cast<std::int64_t>(weight) + 50) / 100 * 100;
    return static_cast<int>(std::clamp<std::int64_t>(rounded, 100, 900));
}

FontRequest FontRequestFrom(const LogFont& font) {
    FontRequest request;
    // Widened first: negating the smallest 32-bit height would overflow.
    std::int64_t height = font.height;
    if (height < 0) {
        request.sizeKind = FontSizeKind::CharacterHeight;
        request.pixelHeight = ClampedPixels(-height);
    } else if (height > 0) {
        request.sizeKind = FontSizeKind::CellHeight;
        request.pixelHeight = ClampedPixels(height);
    }
    request.weight = WeightClass(font.weight);
    request.italic = font.italic != 0;
    request.underline = font.underline != 0;
    request.strikeOut = font.strikeOut != 0;
    request.faceName = font.faceName;
    return request;
}

FontRequest ScaledForDesktop(FontRequest request, double textScale) {
    if (request.sizeKind == FontSizeKind::Default || !std::isfinite(textScale) || textScale <= 0) return request;
    const double scaled = std::round(request.pixelHeight * std::min(textScale, 1.0 * kMaxFontPixelHeight));
    request.pixelHeight = ClampedPixels(static_cast<std::int64_t>(scaled));
    return request;
}

int CharacterHeightForCell(int cellHeight, const std::function<int(int)>& cellHeightOf) {
    int low = 1, high = std::max(1, cellHeight);
    if (cellHeightOf(low) > cellHeight) return 1;
    // Invariant: cellHeightOf(low) <= cellHeight; the answer lies in [low, high].
    while (low < high) {
        int mid = low + (high - low + 1) / 2;
        if (cellHeightOf(mid) <= cellHeight) low = mid; else high = mid - 1;
    }
    return low;
}

Rgb RgbOf(ColorRef color) {
    return Rgb{static_cast<std::uint8_t>(color & 0xFF), static_cast<std::uint8_t>((color >> 8) & 0xFF),
               static_cast<std::uint8_t>((color >> 16) & 0xFF)};
}
