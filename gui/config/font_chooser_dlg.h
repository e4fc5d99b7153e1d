// SPDX-License-Identifier: GPL-3.0-or-later
// The font chooser of the fonts dialog: face, slant, weight, size, underline,
// strike-out and colour, started from a style's current font and colour.
#pragma once

#include <optional>

#include <wx/dialog.h>

#include "core/settings/font_selection.h"

class wxCheckBox;
class wxColourPickerCtrl;
class wxColourPickerEvent;
class wxListBox;
class wxSpinCtrl;
class wxSpinEvent;
class wxStaticText;

class CFontChooserDlg : public wxDialog {
public:
    CFontChooserDlg(wxWindow* parent, const TextStyle& style);

    /// What the controls hold, as a style description takes it.
    FontChoice Choice() const;

    bool loaded = false;

private:
    TextStyle initial;
    int initialWeightRow = wxNOT_FOUND;
    wxListBox* faceList = nullptr;
    wxListBox* slantList = nullptr;
    wxListBox* weightList = nullptr;
    wxSpinCtrl* sizeSpin = nullptr;
    wxCheckBox* underlineBox = nullptr;
    wxCheckBox* strikeOutBox = nullptr;
    wxColourPickerCtrl* colourPicker = nullptr;
    wxStaticText* preview = nullptr;

    void FillFaces(const wxString& currentFace, const wxString& drawnFace);
    std::int32_t ChosenWeight() const;
    wxFont ChosenFont() const;
    void UpdatePreview();

    void OnChanged(wxCommandEvent& event);
    void OnSizeChanged(wxSpinEvent& event);
    void OnColourChanged(wxColourPickerEvent& event);

    wxDECLARE_EVENT_TABLE();
};

/// Runs the chooser for `style`; the choice when it is confirmed with OK.
std::optional<FontChoice> ChooseFont(wxWindow* parent, const TextStyle& style);
