// SPDX-License-Identifier: GPL-3.0-or-later
// "О программе Vestrel": version, icon and the authors' address, whose button
// asks the desktop to write them a mail.
#pragma once

#include <wx/dialog.h>

/// The authors' address behind the e-mail button.
inline constexpr const char* kAuthorEmail = "vestrels@example.org";

class CAboutDlg : public wxDialog {
public:
    /// Built on the stack for each showing.
    explicit CAboutDlg(wxWindow* parent);

private:
    void OnEmail(wxCommandEvent& event);

    wxDECLARE_EVENT_TABLE();
};
