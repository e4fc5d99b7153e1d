// SPDX-License-Identifier: GPL-3.0-or-later
// The fonts dialog's window: five radio buttons drawn as push buttons, each
// opening the font chooser for its style, and OK.
#include "gui/config/font_target_dlg.h"

#include <utility>

#include <wx/dialog.h>
#include <wx/tglbtn.h>
#include <wx/xrc/xmlres.h>

#include "core/settings/config_ids.h"
#include "gui/config/font_chooser_dlg.h"
#include "core/settings/font_selection.h"

namespace {

class FontTargetWindow : public wxDialog {
public:
    FontTargetWindow(wxWindow* parent, TextStyles& styles, std::function<void()> repaint);
    bool loaded = false;

private:
    TextStyles& styles;
    std::function<void()> repaint;

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

FontTargetWindow::FontTargetWindow(wxWindow* parent, TextStyles& styles, std::function<void()> repaint)
    : styles(styles), repaint(std::move(repaint))
{
    if (!wxXmlResource::Get()->LoadDialog(this, parent, "IDD_FONT_TARGET"))
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
        TextStyle& style = styles[target.style];
        if (const auto choice = ChooseFont(this, style)) {
            style = ApplyFontChoice(style, *choice);
            repaint();
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

int CFontTargetDlg::DoModal(wxWindow* parent, TextStyles& styles, std::function<void()> repaint)
{
    FontTargetWindow window(parent, styles, std::move(repaint));
    if (!window.loaded)
        return wxID_CANCEL;
    return window.ShowModal();
}
