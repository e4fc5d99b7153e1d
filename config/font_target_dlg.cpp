// SPDX-License-Identifier: GPL-3.0-or-later
// The fonts dialog's window: five radio buttons drawn as push buttons, each
// opening the font chooser for its style, and OK.
#include "config/font_target_dlg.h"

#include <wx/dialog.h>
#include <wx/tglbtn.h>
#include <wx/xrc/xmlres.h>

#include "app/main_frame.h"
#include "articles/quillbox_view.h"
#include "config/config_ids.h"
#include "config/font_chooser_dlg.h"
#include "config/font_selection.h"

namespace {

class FontTargetWindow : public wxDialog {
public:
    FontTargetWindow(CMainFrame* frame);
    bool loaded = false;

private:
    CMainFrame* frame;

    void OnTarget(wxCommandEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnClose(wxCloseEvent& event);

    wxDECLARE_EVENT_TABLE();
};

}  // namespace

// ----------------------------------------------------------------------------
// event table
// ----------------------------------------------------------------------------

wxBEGIN_EVENT_TABLE(FontTargetWindow, wxDialog)
    EVT_TOGGLEBUTTON(ID_FONT_PLAIN_TITLE, FontTargetWindow::OnTarget)
    EVT_TOGGLEBUTTON(ID_FONT_SELECTED_TITLE, FontTargetWindow::OnTarget)
    EVT_TOGGLEBUTTON(ID_FONT_FOUND_TITLE, FontTargetWindow::OnTarget)
    EVT_TOGGLEBUTTON(ID_FONT_ANNOTATION, FontTargetWindow::OnTarget)
    EVT_TOGGLEBUTTON(ID_FONT_HEADING, FontTargetWindow::OnTarget)
    EVT_CHAR_HOOK(FontTargetWindow::OnCharHook)
    EVT_CLOSE(FontTargetWindow::OnClose)
wxEND_EVENT_TABLE()

FontTargetWindow::FontTargetWindow(CMainFrame* frame) : frame(frame)
{
    if (!wxXmlResource::Get()->LoadDialog(this, frame, "IDD_FONT_TARGET"))
        return;
    loaded = true;
}

void FontTargetWindow::OnTarget(wxCommandEvent& event)
{
    // Radio buttons: the pressed one stays down, the others come up.
    for (const FontTarget& target : kFontTargets)
        if (auto* button = dynamic_cast<wxToggleButton*>(FindWindow(target.controlId)))
            button->SetValue(target.controlId == event.GetId());
    for (const FontTarget& target : kFontTargets) {
        if (target.controlId != event.GetId())
            continue;
        TextStyle& style = frame->styles[target.style];
        if (const auto choice = ChooseFont(this, style)) {
            style = ApplyFontChoice(style, *choice);
            if (frame->articleView)
                frame->articleView->Refresh();
        }
    }
}

void FontTargetWindow::OnCharHook(wxKeyEvent& event)
{
    // Without a cancel button the framework would take Esc for OK.
    if (event.GetKeyCode() == WXK_ESCAPE)
        EndModal(wxID_CANCEL);
    else
        event.Skip();
}

void FontTargetWindow::OnClose(wxCloseEvent&)
{
    EndModal(wxID_CANCEL);
}

int CFontTargetDlg::DoModal(CMainFrame* frame)
{
    FontTargetWindow window(frame);
    if (!window.loaded)
        return wxID_CANCEL;
    return window.ShowModal();
}
