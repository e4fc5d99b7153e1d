// SPDX-License-Identifier: GPL-3.0-or-later
// The contents page: has the library built on its first initialisation,
// lists the issues and makes the chosen one the session's current issue.
#include "gui/library/contents_page.h"

#include <wx/listbox.h>

#include "gui/leftpane/reader_frame.h"
#include "core/session/reader_session.h"
#include "platform/wx/list_cursor.h"
#include "platform/wx/spoken_names.h"
#include "platform/wx/wx_text.h"

// ----------------------------------------------------------------------------
// event table
// ----------------------------------------------------------------------------

wxBEGIN_EVENT_TABLE(CContentsPage, CPage)
    EVT_SIZE(CContentsPage::OnSize)
    EVT_MOVE(CContentsPage::OnMove)
    EVT_LISTBOX(ID_ISSUE_LIST, CContentsPage::OnSelectionChanged)
    EVT_LISTBOX_DCLICK(ID_ISSUE_LIST, CContentsPage::OnDoubleClick)
wxEND_EVENT_TABLE()

CContentsPage::CContentsPage(ReaderFrame& reader, wxFrame* frame) : CPage(reader, frame) {}

CContentsPage::~CContentsPage()
{
    DestroyWindow();
}

wxListBox* CContentsPage::issueList() const
{
    return window() ? dynamic_cast<wxListBox*>(window()->FindWindow(ID_ISSUE_LIST)) : nullptr;
}

void CContentsPage::OnInitPage()
{
    issueChosen = false;
    ReaderSession& session = reader.session();
    if (!session.libraryBuilt())
        reader.BuildLibrary();
    Library& library = session.library();

    wxListBox* list = issueList();
    // The list has no label of its own: the tab above it names it.
    NameForScreenReaders(list, wxString::FromUTF8("Оглавление"));
    wxArrayString rows;
    for (IssueRecord& issue : library.issues) {
        rows.Add(From1251(issue.caption));
        for (ArticleEntry& entry : issue.articles)
            entry.mark = kMarkPlain;
    }
    list->Set(rows);
    if (session.currentIndex() >= 0 && session.currentIndex() < library.issueCount())
        list->SetSelection(session.currentIndex());
    PlaceCursorWithoutSelecting(list);
    EnableTypeAhead(list);
    FitList();
    // GTK scrolls to the cursor while the list still has the size of its
    // resource, which leaves a fitted list scrolled down by a row.
    CallAfter([this] {
        wxListBox* shown = issueList();
        if (!shown || shown->IsEmpty())
            return;
        shown->SetFirstItem(0);
        if (shown->GetSelection() > 0)
            shown->EnsureVisible(shown->GetSelection());
    });
    reader.RepaintArticles(false);
}

void CContentsPage::OnDestroyPage()
{
    issueChosen = false;
}

void CContentsPage::FitList()
{
    FitInside(issueList());
}

void CContentsPage::OnSize(wxSizeEvent& event)
{
    event.Skip();
    FitList();
}

void CContentsPage::OnMove(wxMoveEvent& event)
{
    event.Skip();
    FitList();
}

void CContentsPage::OnSelectionChanged(wxCommandEvent&)
{
    reader.session().ShowIssue(issueList()->GetSelection(), true);
    reader.RepaintArticles(!TypingAhead(issueList()));
    issueChosen = true;
}

void CContentsPage::OnDoubleClick(wxCommandEvent&)
{
    reader.OpenArticle("", true);
}
