// SPDX-License-Identifier: GPL-3.0-or-later
// The favourites page: a list of section names, refilled 100 ms after the
// page opens (when the marks of the other tabs are cleared too) and after a
// section is removed; choosing a name makes its section current.
#include "gui/favorites/favorites_page.h"

#include <algorithm>
#include <atomic>

#include <wx/listbox.h>
#include <wx/xrc/xmlres.h>

#include "gui/favorites/favorites_ids.h"
#include "gui/leftpane/reader_frame.h"
#include "core/session/reader_session.h"
#include "platform/wx/list_cursor.h"
#include "platform/wx/spoken_names.h"
#include "platform/wx/wx_text.h"

namespace {

constexpr int kStartTimerId = 2;
constexpr int kStartDelayMs = 100;

}  // namespace

// ----------------------------------------------------------------------------
// event table
// ----------------------------------------------------------------------------

wxBEGIN_EVENT_TABLE(CFavoritesPage, CPage)
    EVT_TIMER(kStartTimerId, CFavoritesPage::OnStartTick)
    EVT_SIZE(CFavoritesPage::OnSize)
    EVT_LISTBOX(ID_SECTION_LIST, CFavoritesPage::OnSelectionChanged)
wxEND_EVENT_TABLE()

void RegisterFavoritesResourceIds()
{
    wxXmlResource::GetXRCID("ID_SECTION_LIST", ID_SECTION_LIST);
    wxXmlResource::GetXRCID("ID_SECTION_NAME", ID_SECTION_NAME);
    wxXmlResource::GetXRCID("ID_DELETE_TITLE", ID_DELETE_TITLE);
}

CFavoritesPage::CFavoritesPage(ReaderFrame& reader, wxFrame* frame)
    : CPage(reader, frame), startTimer(this, kStartTimerId)
{
    RegisterFavoritesResourceIds();
}

wxListBox* CFavoritesPage::sectionList() const
{
    return window() ? dynamic_cast<wxListBox*>(window()->FindWindow(ID_SECTION_LIST)) : nullptr;
}

void CFavoritesPage::OnInitPage()
{
    EnableTypeAhead(sectionList());
    // The list has no label of its own: the tab above it names it.
    NameForScreenReaders(sectionList(), wxString::FromUTF8("Избранное"));
    FitList();
    startTimer.StartOnce(kStartDelayMs);
}

void CFavoritesPage::OnDestroyPage()
{
    // The tick belongs to the window: a tab left within 100 ms must not turn
    // the view to the favourites under another page.
    startTimer.Stop();
    positions.clear();
    ReaderSession& session = reader.session();
    session.ShowIssue(session.currentIndex(), false);
    sectionChosen = false;
}

void CFavoritesPage::OnStartTick(wxTimerEvent&)
{
    startTimer.Stop();
    // Found and selected marks of the other tabs disappear; a text search may
    // still be writing them.
    for (IssueRecord& issue : reader.session().library().issues)
        for (ArticleEntry& entry : issue.articles)
            std::atomic_ref<std::int32_t>(entry.mark).store(kMarkPlain, std::memory_order_relaxed);
    RefreshSectionList();
}

void CFavoritesPage::RefreshSectionList()
{
    ReaderSession& session = reader.session();
    // Another running copy may have changed the file since this one saw it.
    session.RefreshFavorites();
    const FavoritesStore& store = session.favorites();
    positions.assign(store.sections.size(), -1);
    if (wxListBox* list = sectionList()) {
        // One append for all names: one at a time costs minutes for a large file.
        wxArrayString names;
        names.reserve(store.sections.size());
        for (const TSelectedFolder& section : store.sections)
            names.Add(From1251(section.name));
        const int first = static_cast<int>(list->GetCount());
        list->Append(names);
        for (std::size_t i = 0; i < positions.size(); ++i)
            positions[i] = first + static_cast<int>(i);
        // Tabbing into the list must not choose a section by itself.
        PlaceCursorWithoutSelecting(list);
    }
    session.ShowSection(-1, false);
    reader.RepaintArticles(false);
    sectionChosen = false;
}

void CFavoritesPage::ClearSectionList()
{
    if (wxListBox* list = sectionList())
        list->Clear();
}

void CFavoritesPage::FitList()
{
    FitInside(sectionList());
}

void CFavoritesPage::OnSize(wxSizeEvent& event)
{
    event.Skip();
    FitList();
}

void CFavoritesPage::OnSelectionChanged(wxCommandEvent&)
{
    wxListBox* list = sectionList();
    if (!list)
        return;
    ReaderSession& session = reader.session();
    const int selection = list->GetSelection();
    int section = session.currentIndex();
    for (std::size_t i = 0; i < positions.size(); ++i) {
        if (positions[i] == selection) {
            section = static_cast<int>(i);
            break;
        }
    }
    session.ShowSection(section, true);
    reader.RepaintArticles(!TypingAhead(list));
    sectionChosen = true;
}
