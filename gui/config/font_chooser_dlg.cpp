// SPDX-License-Identifier: GPL-3.0-or-later
// The font chooser. Sizes are chosen in points; the description keeps the
// height in pixels the way the article view reads it back, so the view draws
// the chosen size and the chooser shows it again the next time.
#include "gui/config/font_chooser_dlg.h"

#include <algorithm>

#include <wx/checkbox.h>
#include <wx/clrpicker.h>
#include <wx/dcclient.h>
#include <wx/fontenum.h>
#include <wx/listbox.h>
#include <wx/panel.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

#include "core/view/font_request.h"
#include "gui/view/wx_fonts.h"
#include "core/settings/config_ids.h"
#include "platform/wx/wx_text.h"

namespace {

// A LOGFONT has room for 31 characters of face name.
constexpr std::size_t kFaceNameMax = 31;

enum SlantRow { kUpright = 0, kItalic = 1 };
const int kWeights[] = {300, 400, 700};  // rows of the weight list

int WeightRow(std::int32_t weight)
{
    const int weightClass = WeightClass(weight);
    if (weightClass <= 300)
        return 0;
    return weightClass >= 600 ? 2 : 1;
}

/// Only faces whose name a description can hold: in code page 1251 and short
/// enough; any other would be stored as a different name.
bool StorableFace(const wxString& face)
{
    const std::string bytes = To1251(face);
    return !bytes.empty() && bytes.size() <= kFaceNameMax && From1251(bytes) == face;
}

wxColour ColourOf(ColorRef color)
{
    const Rgb rgb = RgbOf(color);
    return wxColour(rgb.red, rgb.green, rgb.blue);
}

ColorRef ColorRefOf(const wxColour& colour)
{
    return static_cast<ColorRef>(colour.Red()) | static_cast<ColorRef>(colour.Green()) << 8 |
           static_cast<ColorRef>(colour.Blue()) << 16;
}

}  // namespace

// ----------------------------------------------------------------------------
// event table
// ----------------------------------------------------------------------------

wxBEGIN_EVENT_TABLE(CFontChooserDlg, wxDialog)
    EVT_LISTBOX(ID_FONT_FACE, CFontChooserDlg::OnChanged)
    EVT_LISTBOX(ID_FONT_SLANT, CFontChooserDlg::OnChanged)
    EVT_LISTBOX(ID_FONT_WEIGHT, CFontChooserDlg::OnChanged)
    EVT_SPINCTRL(ID_FONT_SIZE, CFontChooserDlg::OnSizeChanged)
    EVT_CHECKBOX(ID_FONT_UNDERLINE, CFontChooserDlg::OnChanged)
    EVT_CHECKBOX(ID_FONT_STRIKEOUT, CFontChooserDlg::OnChanged)
    EVT_COLOURPICKER_CHANGED(ID_FONT_COLOUR, CFontChooserDlg::OnColourChanged)
wxEND_EVENT_TABLE()

CFontChooserDlg::CFontChooserDlg(wxWindow* parent, const TextStyle& style) : initial(style)
{
    if (!wxXmlResource::Get()->LoadDialog(this, parent, "IDD_FONT_CHOOSER"))
        return;
    faceList = XRCCTRL(*this, "ID_FONT_FACE", wxListBox);
    slantList = XRCCTRL(*this, "ID_FONT_SLANT", wxListBox);
    weightList = XRCCTRL(*this, "ID_FONT_WEIGHT", wxListBox);
    sizeSpin = XRCCTRL(*this, "ID_FONT_SIZE", wxSpinCtrl);
    underlineBox = XRCCTRL(*this, "ID_FONT_UNDERLINE", wxCheckBox);
    strikeOutBox = XRCCTRL(*this, "ID_FONT_STRIKEOUT", wxCheckBox);
    colourPicker = XRCCTRL(*this, "ID_FONT_COLOUR", wxColourPickerCtrl);
    preview = XRCCTRL(*this, "ID_FONT_PREVIEW", wxStaticText);

    // Start from the font as the view draws it, before the desktop's text
    // scale (the size shown is the stored one): a face the machine lacks is
    // drawn in the system's sans-serif face, at the size the view found.
    wxClientDC dc(this);
    const wxFont drawn = FontForStyle(style.font, dc, 1.0);
    FillFaces(From1251(style.font.faceName), drawn.GetFaceName());
    slantList->SetSelection(style.font.italic ? kItalic : kUpright);
    initialWeightRow = WeightRow(style.font.weight);
    weightList->SetSelection(initialWeightRow);
    sizeSpin->SetValue(drawn.GetPointSize());
    underlineBox->SetValue(style.font.underline != 0);
    strikeOutBox->SetValue(style.font.strikeOut != 0);
    // The style's own colour, so that confirming a new face keeps it.
    colourPicker->SetColour(ColourOf(style.color));
    UpdatePreview();
    Fit();
    Centre();
    loaded = true;
}

void CFontChooserDlg::FillFaces(const wxString& currentFace, const wxString& drawnFace)
{
    wxArrayString faces;
    for (const wxString& face : wxFontEnumerator::GetFacenames())
        if (StorableFace(face) && faces.Index(face) == wxNOT_FOUND)
            faces.Add(face);
    faceList->Set(faces);
    int row = faceList->FindString(currentFace);
    if (row == wxNOT_FOUND)
        row = faceList->FindString(drawnFace);
    if (row != wxNOT_FOUND) {
        faceList->SetSelection(row);
        faceList->EnsureVisible(row);
    }
}

FontChoice CFontChooserDlg::Choice() const
{
    FontChoice choice;
    const int faceRow = faceList->GetSelection();
    // No face chosen: the description keeps its own, even one the machine lacks.
    choice.faceName = faceRow == wxNOT_FOUND ? initial.font.faceName : To1251(faceList->GetString(faceRow));
    // The view takes a negative height as a pixel height and finds the point
    // size that fits it: the chosen font's own pixel height brings it back.
    choice.height = -std::max(1, ChosenFont().GetPixelSize().y);
    choice.weight = ChosenWeight();
    choice.italic = slantList->GetSelection() == kItalic;
    choice.underline = underlineBox->GetValue();
    choice.strikeOut = strikeOutBox->GetValue();
    choice.color = ColorRefOf(colourPicker->GetColour());
    return choice;
}

std::int32_t CFontChooserDlg::ChosenWeight() const
{
    // An untouched weight stays exactly as described (500, 600, ...).
    const int row = weightList->GetSelection();
    return row == initialWeightRow || row == wxNOT_FOUND ? initial.font.weight : kWeights[row];
}

wxFont CFontChooserDlg::ChosenFont() const
{
    wxFontInfo info(sizeSpin->GetValue());
    const int faceRow = faceList->GetSelection();
    if (faceRow != wxNOT_FOUND)
        info.FaceName(faceList->GetString(faceRow));
    else
        info.Family(wxFONTFAMILY_SWISS);
    info.Weight(WeightClass(ChosenWeight()))
        .Italic(slantList->GetSelection() == kItalic)
        .Underlined(underlineBox->GetValue())
        .Strikethrough(strikeOutBox->GetValue());
    return wxFont(info);
}

void CFontChooserDlg::UpdatePreview()
{
    preview->SetFont(ChosenFont());
    preview->SetForegroundColour(colourPicker->GetColour());
    preview->GetParent()->Layout();
    preview->Refresh();
}

void CFontChooserDlg::OnChanged(wxCommandEvent&)
{
    UpdatePreview();
}

void CFontChooserDlg::OnSizeChanged(wxSpinEvent&)
{
    UpdatePreview();
}

void CFontChooserDlg::OnColourChanged(wxColourPickerEvent&)
{
    UpdatePreview();
}

std::optional<FontChoice> ChooseFont(wxWindow* parent, const TextStyle& style)
{
    CFontChooserDlg dialog(parent, style);
    if (!dialog.loaded || dialog.ShowModal() != wxID_OK)
        return std::nullopt;
    return dialog.Choice();
}
