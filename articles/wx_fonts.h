// The five text styles as wx fonts, and measuring text in them.
#pragma once

#include <array>

#include <wx/dc.h>
#include <wx/font.h>

#include "app/settings_store.h"
#include "articles/text_wrap.h"

/// A font for a style's description; a face the machine lacks falls back to
/// the system's sans-serif face of that size.
wxFont FontForStyle(const LogFont& description, wxDC& dc);

/// Measures in the fonts of the five styles through a device context; it
/// also leaves the selected style's font on the context for drawing.
class WxTextMeasurer : public TextMeasurer {
public:
    WxTextMeasurer(wxDC& dc, const TextStyles& styles);

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
    std::array<wxFont, kStyleCount> fonts;
    std::array<Metrics, kStyleCount> metrics;
    int selected = 0;
};
