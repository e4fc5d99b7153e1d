// SPDX-License-Identifier: GPL-3.0-or-later
// "Подключение журналов": the catalogue editor. The object lives with the main
// frame and keeps its texts and current entry between openings; its window
// exists only while it is shown.
#pragma once

#include "core/catalogue/catalogue_edit.h"
#include "gui/config/folder_name_dlg.h"

class wxWindow;

class CJournalsDlg {
public:
    CJournalsDlg(JournalCatalogue& catalogue, platform::HostUi& host) : editor(catalogue, host) {}

    /// Shows the editor modally over `parent`: wxID_OK or wxID_CANCEL. The
    /// catalogue has changed in memory either way.
    int DoModal(wxWindow* parent);

    CFolderNameDlg folderNameDlg;
    CatalogueEditor editor;  ///< pathText, nameText, currentKind and the edits
};
