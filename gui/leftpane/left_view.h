// SPDX-License-Identifier: GPL-3.0-or-later
// The left pane: a tab control with the contents, search and favourites
// pages, of which only the chosen one has a window.
#pragma once

#include <wx/panel.h>

#include "gui/favorites/favorites_page.h"
#include "gui/library/contents_page.h"
#include "gui/search/search_page.h"

class wxNotebook;
#include <wx/bookctrl.h>
class wxFrame;
class ReaderFrame;

enum LeftPaneId { ID_TAB_CONTROL = 400 };

class CLeftView : public wxPanel {
public:
    /// Builds the three page objects; the contents page loads the favourites.
    CLeftView(ReaderFrame& reader, wxFrame* frame);
    ~CLeftView() override;

    /// Creates the tab control and the contents page's window, which builds
    /// the library.
    bool Create(wxWindow* parent, const wxSize& size);

    /// Fits the tab control to the pane and the current page to its tab area.
    void LayoutPages();

    /// Creates the contents page's window again (after a rebuild), over the
    /// tab that is shown.
    void RecreateContentsPage();

    void FocusCurrentPage();

    // The page objects live as long as the pane, declared in the order in
    // which they are built; they are destroyed in the reverse order.
    CContentsPage contentsPage;
    CSearchPage searchPage;
    CFavoritesPage favoritesPage;
    CPage* currentPage = nullptr;
    int savedIndex = -1;

private:
    ReaderFrame& reader;
    wxFrame* frame;
    wxNotebook* tabs = nullptr;

    wxWindow* TabArea(int index) const;
    void ShowPage(CPage& page, int tab);
    void OnTabChanged(wxBookCtrlEvent& event);
    void OnSize(wxSizeEvent& event);

    wxDECLARE_EVENT_TABLE();
};
