// SPDX-License-Identifier: GPL-3.0-or-later
// The "Оглавление" tab's page: it has the library built when the session has
// none, and lists one row per issue.
#pragma once

#include "gui/leftpane/page.h"

class wxListBox;

enum ContentsPageId { ID_ISSUE_LIST = 1001 };

class CContentsPage : public CPage {
public:
    CContentsPage(ReaderFrame& reader, wxFrame* frame);
    ~CContentsPage() override;

    bool issueChosen = false;

protected:
    const char* ResourceName() const override { return "IDD_CONTENTS_PAGE"; }
    void OnInitPage() override;
    void OnDestroyPage() override;

private:
    wxListBox* issueList() const;
    void FitList();

    void OnSize(wxSizeEvent& event);
    void OnMove(wxMoveEvent& event);
    void OnSelectionChanged(wxCommandEvent& event);
    void OnDoubleClick(wxCommandEvent& event);

    wxDECLARE_EVENT_TABLE();
};
