// SPDX-License-Identifier: GPL-3.0-or-later
// The search page: takes the query and options from its controls, runs the
// title search at once or starts the text search's worker with its progress
// dialog, lists the issues found and shows the chosen one.
#include "gui/search/search_page.h"

#include <atomic>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/listbox.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/statusbr.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

#include "gui/leftpane/reader_frame.h"
#include "core/session/reader_session.h"
#include "platform/wx/list_cursor.h"
#include "platform/wx/spoken_names.h"
#include "platform/wx/wx_text.h"
#include "gui/search/search_ids.h"

void RegisterSearchResourceIds()
{
    const std::pair<const char*, int> ids[] = {
        {"ID_SEARCH_RESULTS", ID_SEARCH_RESULTS},     {"ID_SEARCH_BUTTON", ID_SEARCH_BUTTON},
        {"ID_WHOLE_WORD", ID_WHOLE_WORD},             {"ID_MATCH_CASE", ID_MATCH_CASE},
        {"ID_SEARCH_QUERY", ID_SEARCH_QUERY},         {"ID_QUERY_LABEL", ID_QUERY_LABEL},
        {"ID_RESULTS_LABEL", ID_RESULTS_LABEL},       {"ID_IN_TITLES", ID_IN_TITLES},
        {"ID_IN_TEXT", ID_IN_TEXT},                   {"ID_WHERE_GROUP", ID_WHERE_GROUP},
        {"ID_PROGRESS_JOURNAL", ID_PROGRESS_JOURNAL}, {"ID_PROGRESS_BAR", ID_PROGRESS_BAR},
    };
    for (const auto& [name, value] : ids)
        wxXmlResource::GetXRCID(name, value);
}

/// The worker's way to the user interface: progress is queued to the dialog
/// object, a row request runs on the user-interface thread's next turn.
class CSearchPage::Messages : public SearchMessages {
public:
    Messages(CSearchProgressDlg& dialog, long search) : dialog_(dialog), search_(search) {}

    void PostProgress(int issue) override { dialog_.Post(issue, search_); }
    void PostRowRequest(std::function<void()> serve) override { wxTheApp->CallAfter(std::move(serve)); }

private:
    CSearchProgressDlg& dialog_;
    const long search_;
};

// ----------------------------------------------------------------------------
// event table
// ----------------------------------------------------------------------------

wxBEGIN_EVENT_TABLE(CSearchPage, CPage)
    EVT_BUTTON(ID_SEARCH_BUTTON, CSearchPage::OnSearch)
    EVT_TEXT_ENTER(ID_SEARCH_QUERY, CSearchPage::OnSearch)
    EVT_LISTBOX(ID_SEARCH_RESULTS, CSearchPage::OnSelectionChanged)
    EVT_LISTBOX_DCLICK(ID_SEARCH_RESULTS, CSearchPage::OnDoubleClick)
    EVT_RADIOBUTTON(ID_IN_TITLES, CSearchPage::OnInTitles)
    EVT_RADIOBUTTON(ID_IN_TEXT, CSearchPage::OnInText)
    EVT_SIZE(CSearchPage::OnSize)
wxEND_EVENT_TABLE()

CSearchPage::CSearchPage(ReaderFrame& reader, wxFrame* frame)
    : CPage(reader, frame),
      progressDlg([this] { std::atomic_ref<std::int32_t>(cancelState).store(kCancelRequested); },
                  [this](long search) { OnSearchEnded(search); })
{
    RegisterSearchResourceIds();
}

CSearchPage::~CSearchPage()
{
    CancelSearchAndWait();
    DestroyWindow();
}

wxComboBox* CSearchPage::queryBox() const
{
    return window() ? dynamic_cast<wxComboBox*>(window()->FindWindow(ID_SEARCH_QUERY)) : nullptr;
}

wxListBox* CSearchPage::resultList() const
{
    return window() ? dynamic_cast<wxListBox*>(window()->FindWindow(ID_SEARCH_RESULTS)) : nullptr;
}

// ----------------------------------------------------------------------------
// window
// ----------------------------------------------------------------------------

void CSearchPage::OnInitPage()
{
    wxWindow* page = window();
    LabelForScreenReaders(queryBox(), page->FindWindow(ID_QUERY_LABEL));
    LabelForScreenReaders(resultList(), page->FindWindow(ID_RESULTS_LABEL));
    dynamic_cast<wxCheckBox*>(page->FindWindow(ID_WHOLE_WORD))->SetValue(wholeWord != 0);
    dynamic_cast<wxCheckBox*>(page->FindWindow(ID_MATCH_CASE))->SetValue(matchCase != 0);
    resultIssues.assign(static_cast<std::size_t>(reader.session().library().issueCount()), 0);
    resultSelected = false;
    dynamic_cast<wxRadioButton*>(page->FindWindow(ID_IN_TITLES))->SetValue(true);
    inTitles = true;
    wxComboBox* combo = queryBox();
    for (const std::string& entry : history)
        if (!entry.empty())
            combo->Append(From1251(entry));
    combo->ChangeValue(From1251(query));
    EnableTypeAhead(resultList());
    LayOut();
}

void CSearchPage::OnDestroyPage()
{
    // The worker writes to the table and asks for rows: it ends first.
    CancelSearchAndWait();
    resultIssues.clear();
    resultIssues.shrink_to_fit();
    resultSelected = false;
}

void CSearchPage::CancelSearchAndWait()
{
    worker.AbandonAndWait();
    progressDlg.DestroyWindow();
}

void CSearchPage::ForgetResults()
{
    resultIssues.assign(static_cast<std::size_t>(reader.session().library().issueCount()), 0);
    resultSelected = false;
    if (wxListBox* list = resultList())
        list->Clear();
}

void CSearchPage::OnSize(wxSizeEvent& event)
{
    event.Skip();
    LayOut();
}

void CSearchPage::LayOut()
{
    wxWindow* page = window();
    if (!page)
        return;
    const int ids[] = {ID_QUERY_LABEL, ID_SEARCH_QUERY, ID_WHOLE_WORD, ID_SEARCH_BUTTON, ID_MATCH_CASE,
                       ID_IN_TITLES,   ID_IN_TEXT,      ID_WHERE_GROUP, ID_RESULTS_LABEL, ID_SEARCH_RESULTS};
    wxWindow* controls[std::size(ids)];
    for (std::size_t i = 0; i < std::size(ids); ++i) {
        controls[i] = page->FindWindow(ids[i]);
        if (!controls[i])
            return;  // still being built
    }
    SearchPageControls now;
    ControlRect* rects[] = {&now.queryLabel, &now.query,    &now.wholeWord,  &now.searchButton, &now.matchCase,
                            &now.inTitles,   &now.inText,   &now.whereGroup, &now.resultsLabel, &now.results};
    for (std::size_t i = 0; i < std::size(ids); ++i) {
        const wxPoint at = controls[i]->GetPosition();
        const wxSize size = controls[i]->GetClientSize();
        *rects[i] = {at.x, at.y, size.x, size.y};
    }
    const wxSize client = page->GetClientSize();
    const SearchPageControls laid = LayOutSearchPage(now, client.x, client.y);
    const ControlRect* placed[] = {&laid.queryLabel, &laid.query,    &laid.wholeWord,  &laid.searchButton,
                                   &laid.matchCase,  &laid.inTitles, &laid.inText,     &laid.whereGroup,
                                   &laid.resultsLabel, &laid.results};
    for (std::size_t i = 0; i < std::size(ids); ++i) {
        if (*placed[i] == *rects[i])
            continue;
        // A control that keeps its size keeps its outer size too.
        const bool sized = placed[i]->width != rects[i]->width || placed[i]->height != rects[i]->height;
        const wxSize outer = controls[i]->GetSize();
        controls[i]->SetSize(placed[i]->x, placed[i]->y, sized ? std::max(0, placed[i]->width) : outer.x,
                             sized ? std::max(0, placed[i]->height) : outer.y);
    }
}

// ----------------------------------------------------------------------------
// searching
// ----------------------------------------------------------------------------

void CSearchPage::OnSearch(wxCommandEvent&)
{
    Search();
}

void CSearchPage::Search()
{
    wxWindow* page = window();
    if (!page)
        return;
    // Sent as "?", such a query would find something else.
    if (!AcceptOnly1251(queryBox()->GetValue(), page))
        return;
    // A text search still running owns the marks and the table until it ends.
    switch (OnSearchRequest(worker.Running(), std::atomic_ref<std::int32_t>(cancelState).load())) {
    case SearchRequest::Refuse:
        ShowSearchRunning();
        return;
    case SearchRequest::AbandonCancelledFirst:
        CancelSearchAndWait();
        break;
    case SearchRequest::Start:
        break;
    }
    Library& library = reader.session().library();
    resultList()->Clear();
    resultSelected = false;
    ClearMatched(library);
    wholeWord = dynamic_cast<wxCheckBox*>(page->FindWindow(ID_WHOLE_WORD))->GetValue() ? 1 : 0;
    matchCase = dynamic_cast<wxCheckBox*>(page->FindWindow(ID_MATCH_CASE))->GetValue() ? 1 : 0;
    query = To1251(queryBox()->GetValue());
    searchText = query;
    ShowNoIssue();
    if (searchText.empty())
        return;
    const SearchQuery prepared(searchText, matchCase != 0, wholeWord != 0);
    searchText = prepared.searchText();
    // The library may have been rebuilt since the window was made.
    resultIssues.assign(static_cast<std::size_t>(library.issueCount()), 0);
    if (inTitles) {
        const std::vector<std::int32_t> found = SearchTitles(library, prepared);
        std::copy(found.begin(), found.end(), resultIssues.begin());
        for (const std::int32_t issue : found)
            AddResultRow(issue);
    } else {
        StartTextSearch(prepared);
    }
    UpdateQueryHistory();
}

void CSearchPage::StartTextSearch(const SearchQuery& prepared)
{
    Library& library = reader.session().library();
    ++searchCount;
    // The dialog exists before the worker can post its first message.
    progressDlg.CreateWindow(frame, library, searchCount);
    messages = std::make_unique<Messages>(progressDlg, searchCount);
    TextSearchWorker::Job job;
    job.library = &library;
    job.resultIssues = &resultIssues;
    job.cancelState = &cancelState;
    job.searchLock = &searchLock;
    job.messages = messages.get();
    job.addRow = [this](int issue) { AddResultRow(issue); };
    worker.Start(std::move(job), prepared);
}

void CSearchPage::AddResultRow(int issue)
{
    // Rows for a window that is gone are dropped.
    wxListBox* list = resultList();
    const Library& library = reader.session().library();
    if (!list || issue >= library.issueCount())
        return;
    list->Append(From1251(library.issues[static_cast<std::size_t>(issue)].caption));
    // Tabbing into the list must not choose a result by itself.
    if (list->GetCount() == 1)
        PlaceCursorWithoutSelecting(list);
}

void CSearchPage::UpdateQueryHistory()
{
    const HistoryChange change = UpdateHistory(history, query);
    if (!change.added)
        return;
    wxComboBox* combo = queryBox();
    const wxString typed = combo->GetValue();
    if (change.droppedOldest)
        combo->Delete(kHistorySize - 1);
    combo->Insert(From1251(query), 0);
    combo->ChangeValue(typed);
}

void CSearchPage::ShowSearchRunning()
{
    wxStatusBar* bar = frame->GetStatusBar();
    if (!bar)
        return;
    if (!statusShowsRunning)
        statusBeforeRunning = bar->GetStatusText(0);
    statusShowsRunning = true;
    bar->SetStatusText(wxString::FromUTF8("Поиск в текстах статей еще идет: дождитесь его конца или нажмите «Прервать»"),
                       0);
}

void CSearchPage::OnSearchEnded(long search)
{
    if (search != searchCount || !statusShowsRunning)
        return;
    statusShowsRunning = false;
    if (wxStatusBar* bar = frame->GetStatusBar())
        bar->SetStatusText(statusBeforeRunning, 0);
}

void CSearchPage::ShowNoIssue()
{
    reader.session().ShowNothing();
    reader.RepaintArticles(false);
}

// ----------------------------------------------------------------------------
// results
// ----------------------------------------------------------------------------

void CSearchPage::OnSelectionChanged(wxCommandEvent&)
{
    const int row = resultList()->GetSelection();
    if (row < 0 || row >= static_cast<int>(resultIssues.size()))
        return;
    // "Читать" opens the chosen issue until an article is clicked, as after
    // choosing an issue in the contents list.
    reader.session().ShowIssue(resultIssues[static_cast<std::size_t>(row)], true);
    resultSelected = true;
    reader.ShowFirstFound(!TypingAhead(resultList()));
}

void CSearchPage::OnDoubleClick(wxCommandEvent&)
{
    reader.OpenArticle("", true);
}

void CSearchPage::OnInTitles(wxCommandEvent&)
{
    inTitles = true;
}

void CSearchPage::OnInText(wxCommandEvent&)
{
    inTitles = false;
}
