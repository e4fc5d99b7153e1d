// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/config/about_dlg.h"

#include <string>

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/xrc/xmlres.h>

#include "core/settings/config_ids.h"
#include "platform/wx/wx_host_ui.h"

// ----------------------------------------------------------------------------
// event table
// ----------------------------------------------------------------------------

wxBEGIN_EVENT_TABLE(CAboutDlg, wxDialog)
    EVT_BUTTON(ID_AUTHOR_EMAIL, CAboutDlg::OnEmail)
wxEND_EVENT_TABLE()

CAboutDlg::CAboutDlg(wxWindow* parent)
{
    if (!wxXmlResource::Get()->LoadDialog(this, parent, "IDD_ABOUT"))
        return;
    if (auto* icon = XRCCTRL(*this, "ID_ABOUT_ICON", wxStaticBitmap))
        icon->SetIcon(wxXmlResource::Get()->LoadIcon("IDI_APP"));
    if (auto* email = XRCCTRL(*this, "ID_AUTHOR_EMAIL", wxButton))
        email->SetLabel(kAuthorEmail);
}

void CAboutDlg::OnEmail(wxCommandEvent&)
{
    // An address, whatever its text looks like; the box stays open.
    TheHostUi().OpenTarget({platform::shell::TargetKind::Address, std::string("mailto:") + kAuthorEmail});
}
