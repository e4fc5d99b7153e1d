// SPDX-License-Identifier: GPL-3.0-or-later
// The left pane: tab changes create and destroy the page windows and carry
// the shared current index from one tab to the next.
#include "gui/leftpane/left_view.h"

#include <wx/frame.h>
#include <wx/notebook.h>
#include <wx/sizer.h>

#include "gui/leftpane/reader_frame.h"
#include "core/session/reader_session.h"

namespace {

enum Tab { kContentsTab = 0, kSearchTab = 1, kFavoritesTab = 2 };

}  // namespace

// ----------------------------------------------------------------------------
// event table
// ----------------------------------------------------------------------------

wxBEGIN_EVENT_TABLE(CLeftView, wxPanel)
    EVT_NOTEBOOK_PAGE_CHANGED(ID_TAB_CONTROL, CLeftView::OnTabChanged)
    EVT_SIZE(CLeftView::OnSize)
wxEND_EVENT_TABLE()

CLeftView::CLeftView(ReaderFrame& reader, wxFrame* frame)
    : contentsPage(reader, frame), searchPage(reader, frame), favoritesPage(reader, frame), reader(reader),
      frame(frame)
{
}

CLeftView::~CLeftView() = default;

bool CLeftView::Create(wxWindow* parent, const wxSize& size)
{
    if (!wxPanel::Create(parent, wxID_ANY, wxDefaultPosition, size, wxBORDER_SUNKEN))
        return false;

    tabs = new wxNotebook(this, ID_TAB_CONTROL, wxPoint(0, 0), GetClientSize());
    const char* const labels[] = {"Оглавление", "Поиск", "Избранное"};
    for (const char* label : labels) {
        // Each tab's area holds the page window of that tab while it is shown.
        auto* area = new wxPanel(tabs);
        area->SetSizer(new wxBoxSizer(wxVERTICAL));
        tabs->AddPage(area, wxString::FromUTF8(label));
    }
    tabs->SetSelection(kContentsTab);

    ShowPage(contentsPage, kContentsTab);
    return true;
}

wxWindow* CLeftView::TabArea(int index) const
{
    return tabs->GetPage(static_cast<size_t>(index));
}

void CLeftView::ShowPage(CPage& page, int tab)
{
    wxWindow* area = TabArea(tab);
    currentPage = &page;
    if (wxWindow* window = page.CreateWindow(area))
        area->GetSizer()->Add(window, 1, wxEXPAND);
    LayoutPages();
}

void CLeftView::RecreateContentsPage()
{
    // The contents page goes where its tab is, whichever tab is shown.
    wxWindow* area = TabArea(kContentsTab);
    if (wxWindow* window = contentsPage.CreateWindow(area))
        area->GetSizer()->Add(window, 1, wxEXPAND);
}

void CLeftView::OnTabChanged(wxBookCtrlEvent& event)
{
    // Adding the tabs selects the first one before any page is shown.
    if (!currentPage)
        return;
    currentPage->DestroyWindow();
    switch (event.GetSelection()) {
    case kContentsTab:
        reader.session().ShowIssue(savedIndex, false);
        ShowPage(contentsPage, kContentsTab);
        break;
    case kSearchTab:
        ShowPage(searchPage, kSearchTab);
        reader.session().ShowNothing();
        reader.RepaintArticles(false);
        break;
    case kFavoritesTab:
        ShowPage(favoritesPage, kFavoritesTab);
        // The favourites page resets the index only later, from its timer, so
        // this is still the issue that was current before.
        savedIndex = reader.session().currentIndex();
        break;
    default:
        break;
    }
}

void CLeftView::LayoutPages()
{
    if (!tabs)
        return;
    tabs->SetSize(GetClientSize());
    for (size_t i = 0; i < tabs->GetPageCount(); ++i)
        tabs->GetPage(i)->Layout();
}

void CLeftView::OnSize(wxSizeEvent& event)
{
    event.Skip();
    wxCommandEvent report(UM_LEFT_PANE_WIDTH);
    report.SetInt(event.GetSize().x);
    frame->GetEventHandler()->ProcessEvent(report);
    LayoutPages();
}

void CLeftView::FocusCurrentPage()
{
    if (currentPage && currentPage->window())
        currentPage->window()->SetFocus();
}
