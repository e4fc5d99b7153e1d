// SPDX-License-Identifier: GPL-3.0-or-later
// "Выберите или создайте раздел": the section an article is added to, chosen
// from the existing ones or typed as a new name.
#pragma once

#include <string>

#include <wx/dialog.h>

#include "core/favorites/favorites_store.h"

class wxComboBox;

/// The dialog's window for one showing.
class CSectionDlgWindow : public wxDialog {
public:
    /// Loads the resource; the combo box shows `name` as typed text and lists
    /// every section.
    CSectionDlgWindow(wxWindow* parent, const std::string& name, const FavoritesStore& store);
    ~CSectionDlgWindow() override;
    wxComboBox* combo() const;
};

/// The view keeps one for its whole life, so the name chosen last is offered
/// again.
class CSectionDlg {
public:
    /// wxID_OK (the combo box's text, possibly empty, became `chosenName`)
    /// or wxID_CANCEL (nothing changed).
    int DoModal(wxWindow* parent, const FavoritesStore& store);

    std::string chosenName;  ///< 1251
};
