// SPDX-License-Identifier: GPL-3.0-or-later
// The "Поиск" tab's page: the query with its options and history, the
// search, and the list of the issues found.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <wx/string.h>

#include "gui/leftpane/page.h"
#include "core/search/search_page_rules.h"
#include "gui/search/search_progress_dlg.h"
#include "core/search/text_search_worker.h"

class wxComboBox;
class wxListBox;

class CSearchPage : public CPage {
public:
    CSearchPage(ReaderFrame& reader, wxFrame* frame);
    ~CSearchPage() override;

    /// Stops a running text search at once and waits for its worker, before
    /// what it writes to goes (a tab change, a rebuild, closing the program,
    /// a new search after a cancel); its remaining rows are never shown.
    void CancelSearchAndWait();
    /// The library is being rebuilt: the rows name issues of the old one.
    void ForgetResults();
    bool SearchRunning() const { return worker.Running(); }

    // Fields; the options, the query and the history outlive the window.
    int wholeWord = 0;
    int matchCase = 0;
    std::string query;  ///< as typed, 1251
    SearchHistory history;
    CSearchProgressDlg progressDlg;
    std::int32_t cancelState = 0;            ///< negative: stop; written with std::atomic_ref
    std::vector<std::int32_t> resultIssues;  ///< issue of each result row
    std::string searchText;
    /// A result row is chosen: "Читать" opens its issue.
    bool resultSelected = false;
    bool inTitles = true;

protected:
    const char* ResourceName() const override { return "IDD_SEARCH_PAGE"; }
    void OnInitPage() override;
    void OnDestroyPage() override;

private:
    class Messages;

    std::unique_ptr<Messages> messages;
    long searchCount = 0;
    /// The status bar says a search runs; what it said before comes back
    /// when that search ends.
    bool statusShowsRunning = false;
    wxString statusBeforeRunning;
    /// Taken by the text search's worker around its cancel check and around
    /// publishing each issue's result (initial and maximum count 1).
    SearchLock searchLock{1};
    // Last, so it is joined before anything above goes.
    TextSearchWorker worker;

    wxComboBox* queryBox() const;
    wxListBox* resultList() const;
    void Search();
    void StartTextSearch(const SearchQuery& query);
    void AddResultRow(int issue);
    void UpdateQueryHistory();
    void LayOut();
    void ShowNoIssue();
    void ShowSearchRunning();
    void OnSearchEnded(long search);

    void OnSearch(wxCommandEvent& event);
    void OnSelectionChanged(wxCommandEvent& event);
    void OnDoubleClick(wxCommandEvent& event);
    void OnInTitles(wxCommandEvent& event);
    void OnInText(wxCommandEvent& event);
    void OnSize(wxSizeEvent& event);

    wxDECLARE_EVENT_TABLE();
};
