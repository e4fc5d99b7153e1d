// SPDX-License-Identifier: GPL-3.0-or-later
// "Имя папки с номером": asks for the folder prefix of a new journal kind.
#pragma once

#include <string>

class wxWindow;

class CFolderNameDlg {
public:
    /// Shows the dialog modally; on OK the edit's text becomes `folderName`.
    /// wxID_OK or wxID_CANCEL.
    int DoModal(wxWindow* parent);

    /// The last text confirmed with OK (1251); the edit starts with it.
    std::string folderName;
};
