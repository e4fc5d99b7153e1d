// SPDX-License-Identifier: GPL-3.0-or-later
// "Подтвердите удаление": asks before a favourite is removed.
#pragma once

#include <string>

#include <wx/dialog.h>

class wxTextCtrl;

/// The dialog's window for one showing.
class CDeleteConfirmDlgWindow : public wxDialog {
public:
    /// Loads the resource and shows `title` on one line.
    CDeleteConfirmDlgWindow(wxWindow* parent, const std::string& title);
    wxTextCtrl* titleField() const;
};

class CDeleteConfirmDlg {
public:
    /// wxID_OK or wxID_CANCEL.
    int DoModal(wxWindow* parent);

    std::string title;  ///< 1251; may hold the CR LF before an annotation
};
