// SPDX-License-Identifier: GPL-3.0-or-later
// Context help as the catalogue editor shows it: a pop-up with a control's
// help text in dark blue on pale yellow, placed by the point of the request,
// gone at the next click or key. The pop-up never takes the keyboard: the
// control it is about keeps the focus, and the dialog's key hook closes it.
#pragma once

#include <wx/cshelp.h>
#include <wx/popupwin.h>

/// The pop-up window of one help request.
class CHelpPopup : public wxPopupWindow {
public:
    /// Sized for `text` (line breaks and tabs as given); its top centre stands
    /// 100 pixels left of `helpPoint`, moved inside the display if need be.
    /// Once shown, a click anywhere in the program withdraws it.
    CHelpPopup(wxWindow* parent, const wxString& text, const wxPoint& helpPoint);

    const wxString& text() const { return text_; }
    /// The lines drawn: the text's own, long ones broken.
    const wxArrayString& lines() const { return lines_; }

    ~CHelpPopup() override;

    /// Takes the pop-up off the screen; it is then destroyed.
    void Withdraw();

    /// The pop-up on screen, if any (one at a time).
    static CHelpPopup* Shown();

private:
    wxString text_;
    wxArrayString lines_;

    bool withdrawn_ = false;

    void OnPaint(wxPaintEvent& event);
    void OnMouseDown(wxMouseEvent& event);

    wxDECLARE_EVENT_TABLE();
};

/// Keeps the help texts of windows (wxWindow::SetHelpText) and shows them in
/// a CHelpPopup. A window without a text gets no pop-up, but the request
/// counts as handled.
class CPopupHelpProvider : public wxSimpleHelpProvider {
public:
    bool ShowHelpAtPoint(wxWindowBase* window, const wxPoint& point, wxHelpEvent::Origin origin) override;
    bool ShowHelp(wxWindowBase* window) override;
};

/// Makes CPopupHelpProvider the application's help provider (once).
void InstallHelpPopups();

/// F1 without Shift, Ctrl or Alt as a help request to the focused control at
/// the mouse position, as the desktop does not make one of it. Bind to a
/// dialog's wxEVT_CHAR_HOOK.
void SendHelpRequestOnF1(wxKeyEvent& event);
