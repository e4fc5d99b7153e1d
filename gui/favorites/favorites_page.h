// SPDX-License-Identifier: GPL-3.0-or-later
// The "Избранное" tab's page: lists the favourites' sections; choosing one
// shows its articles in the article view.
#pragma once

#include <vector>

#include <wx/timer.h>

#include "gui/leftpane/page.h"

class wxListBox;

class CFavoritesPage : public CPage {
public:
    CFavoritesPage(ReaderFrame& reader, wxFrame* frame);

    /// Fills the section list from the store (appending: a caller that
    /// refills an existing list empties it first), puts the view into
    /// favourites mode and chooses nothing.
    void RefreshSectionList();
    /// Empties the section list, when the page has a window.
    void ClearSectionList();

    /// A section is chosen: "Читать" is enabled.
    bool sectionChosen = false;

protected:
    const char* ResourceName() const override { return "IDD_FAVORITES_PAGE"; }
    void OnInitPage() override;
    void OnDestroyPage() override;

private:
    /// The list position of each section's name, -1 where none was added.
    std::vector<int> positions;
    wxTimer startTimer;

    wxListBox* sectionList() const;
    void FitList();

    void OnStartTick(wxTimerEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnSelectionChanged(wxCommandEvent& event);

    wxDECLARE_EVENT_TABLE();
};
