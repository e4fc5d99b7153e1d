// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/view/wx_fonts.h"

#include <map>
#include <tuple>

#include <wx/fontenum.h>
#include <wx/settings.h>

#include "core/view/font_request.h"
#include "platform/wx/text_scale.h"
#include "platform/wx/wx_text.h"

namespace {

bool FaceExists(const wxString& face)
{
    // Asking the font system costs a full enumeration: ask once per face.
    static std::map<wxString, bool> known;
    auto it = known.find(face);
    if (it == known.end())
        it = known.emplace(face, !face.empty() && wxFontEnumerator::IsValidFacename(face)).first;
    return it->second;
}

wxFont MakeFont(const FontRequest& request, int pixelHeight)
{
    wxFontInfo info = request.sizeKind == FontSizeKind::Default
                          ? wxFontInfo(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).GetPointSize())
                          : wxFontInfo(wxSize(0, pixelHeight));
    const wxString face = From1251(request.faceName);
    if (FaceExists(face))
        info.FaceName(face);
    else
        info.Family(wxFONTFAMILY_SWISS);
    info.Weight(request.weight).Italic(request.italic).Underlined(request.underline).Strikethrough(request.strikeOut);
    return wxFont(info);
}

int CellHeightOf(const wxFont& font, wxDC& dc)
{
    int width = 0, height = 0;
    dc.GetTextExtent("Ag", &width, &height, nullptr, nullptr, &font);
    return height;
}

}  // namespace

wxFont FontForStyle(const LogFont& description, wxDC& dc, double textScale)
{
    // The stored heights stay as they are; only the drawn font grows.
    const FontRequest request = ScaledForDesktop(FontRequestFrom(description), textScale);
    if (request.sizeKind != FontSizeKind::CellHeight)
        return MakeFont(request, request.pixelHeight);
    // A cell height is found by measuring; the answer does not change while
    // the program runs, so it is kept.
    using Key = std::tuple<std::string, int, int, bool>;
    static std::map<Key, int> characterHeights;
    const Key key{request.faceName, request.pixelHeight, request.weight, request.italic};
    auto it = characterHeights.find(key);
    if (it == characterHeights.end()) {
        const int height = CharacterHeightForCell(
            request.pixelHeight, [&](int candidate) { return CellHeightOf(MakeFont(request, candidate), dc); });
        it = characterHeights.emplace(key, height).first;
    }
    return MakeFont(request, it->second);
}

void TextWidthCache::Validate(const TextStyles& styles, double textScale)
{
    if (textScale != scale) {
        scale = textScale;
        for (auto& styleWidths : widths)
            styleWidths.clear();
    }
    // A bound on the memory held: the widths of a few screens of titles.
    constexpr std::size_t kMaxWidthsPerStyle = 50000;
    for (int i = 0; i < kStyleCount; ++i) {
        if (!(descriptions[i] == styles[i].font) || widths[i].size() > kMaxWidthsPerStyle) {
            descriptions[i] = styles[i].font;
            widths[i].clear();
        }
    }
}

WxTextMeasurer::WxTextMeasurer(wxDC& dc, const TextStyles& styles, TextWidthCache& cache) : dc(dc), cache(cache)
{
    const double textScale = DesktopTextScale();
    cache.Validate(styles, textScale);
    for (int i = 0; i < kStyleCount; ++i) {
        fonts[i] = FontForStyle(styles[i].font, dc, textScale);
        int width = 0;
        int descent = 0;
        dc.GetTextExtent("Ag", &width, &metrics[i].height, &descent, &metrics[i].externalLeading, &fonts[i]);
    }
    dc.SetFont(fonts[0]);
}

void WxTextMeasurer::SelectStyle(int style)
{
    selected = style;
    dc.SetFont(fonts[style]);
}

int WxTextMeasurer::TextWidth(std::string_view text)
{
    auto& widths = cache.Widths(selected);
    const std::string key(text);
    auto it = widths.find(key);
    if (it == widths.end())
        it = widths.emplace(key, dc.GetTextExtent(From1251(text)).x).first;
    return it->second;
}

int WxTextMeasurer::LineHeight()
{
    return metrics[selected].height;
}

int WxTextMeasurer::ExternalLeading()
{
    return metrics[selected].externalLeading;
}
