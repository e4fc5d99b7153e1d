// SPDX-License-Identifier: GPL-3.0-or-later
// The five text styles as wx fonts, and measuring text in them.
#pragma once

#include <array>
#include <string>
#include <unordered_map>

#include <wx/dc.h>
#include <wx/font.h>

#include "core/settings/settings_store.h"
#include "core/view/text_wrap.h"

/// A font for a style's description; a face the machine lacks falls back to
/// the system's sans-serif face of that size. Its pixel height is the stored
/// one enlarged by `textScale`, the desktop's text scale.
wxFont FontForStyle(const LogFont& description, wxDC& dc, double textScale);

/// Widths measured by earlier paints, per style. Wrapping measures the same
/// line prefixes at every paint; a style whose description changed starts
/// afresh, so a new font still takes effect at the next paint.
class TextWidthCache {
public:
    /// Forgets the widths of styles whose description is not `styles`', and
    /// all of them when the text scale changed.
    void Validate(const TextStyles& styles, double textScale);
    std::unordered_map<std::string, int>& Widths(int style) { return widths[style]; }

private:
    std::array<LogFont, kStyleCount> descriptions{};
    double scale = 1.0;
    std::array<std::unordered_map<std::string, int>, kStyleCount> widths;
};

/// Measures in the fonts of the five styles through a device context; it
/// also leaves the selected style's font on the context for drawing.
class WxTextMeasurer : public TextMeasurer {
public:
    WxTextMeasurer(wxDC& dc, const TextStyles& styles, TextWidthCache& cache);

    void SelectStyle(int style) override;
    int TextWidth(std::string_view text) override;
    int LineHeight() override;
    int ExternalLeading() override;

    const wxFont& Font(int style) const { return fonts[style]; }

private:
    struct Metrics {
        int height = 0;
        int externalLeading = 0;
    };
    wxDC& dc;
    TextWidthCache& cache;
    std::array<wxFont, kStyleCount> fonts;
    std::array<Metrics, kStyleCount> metrics;
    int selected = 0;
};
