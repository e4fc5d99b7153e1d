// SPDX-License-Identifier: GPL-3.0-or-later
// Names for screen readers where the toolkit gives none: image-only toolbar
// buttons, controls whose label is a separate text or a tab, and the drawn
// status bar, whose text is its name and whose messages are announced.
#pragma once

#include <wx/statusbr.h>
#include <wx/string.h>

class wxToolBar;
class wxWindow;

/// Gives `control` the accessible name `name`.
void NameForScreenReaders(wxWindow* control, const wxString& name);

/// Names `control` after the text `label` shows and links the two, as a
/// label and its field are linked.
void LabelForScreenReaders(wxWindow* control, wxWindow* label);

/// Makes a screen reader read `dialog` as an alert: its texts at once.
void ReadAsAlert(wxWindow* dialog);
/// A dialog without a caption bar is taken for a plain window otherwise.
void ReadAsDialog(wxWindow* dialog);

/// Names every button of `toolBar` after its tooltip.
void NameToolButtons(wxToolBar* toolBar);

/// A status bar that a screen reader reads: its accessible is a status bar
/// named after the message field, and a new message is announced.
class SpokenStatusBar : public wxStatusBar {
public:
    SpokenStatusBar(wxWindow* parent, wxWindowID id, long style, const wxString& name);

protected:
    void DoUpdateStatusText(int number) override;

private:
    wxString spokenText;
};
