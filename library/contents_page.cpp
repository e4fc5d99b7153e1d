// SPDX-License-Identifier: GPL-3.0-or-later
// The contents page: builds the library on its first initialisation, lists
// the issues and hands the chosen one to the article view.
#include "library/contents_page.h"

#include <filesystem>
#include <system_error>

#include <wx/listbox.h>

#include "app/main_frame.h"
#include "articles/quillbox_view.h"
#include "favorites/favorites_ops.h"
#include "library/article_target.h"
#include "library/discovery.h"
#include "platform/wx/spoken_names.h"
#include "platform/files.h"
#include "platform/text1251.h"
#include "platform/wx/list_cursor.h"
#include "platform/wx/wx_host_ui.h"
#include "platform/wx/wx_text.h"

namespace {

/// The process's current directory; empty (the relative name) when it is gone.
std::string CurrentHostFolder()
{
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    return error ? std::string() : here.string();
}

}  // namespace

// ----------------------------------------------------------------------------
// event table
// ----------------------------------------------------------------------------

wxBEGIN_EVENT_TABLE(CContentsPage, CPage)
    EVT_SIZE(CContentsPage::OnSize)
    EVT_MOVE(CContentsPage::OnMove)
    EVT_LISTBOX(ID_ISSUE_LIST, CContentsPage::OnSelectionChanged)
    EVT_LISTBOX_DCLICK(ID_ISSUE_LIST, CContentsPage::OnDoubleClick)
wxEND_EVENT_TABLE()

CContentsPage::CContentsPage(CMainFrame* frame)
    : CPage(frame), favoritesFile(FavoritesFile::FindIn(CurrentHostFolder()))
{
    // What a copy killed during a save left behind goes before anything else.
    platform::files::RemoveStaleTemporaries(favoritesFile.path());
    FavoritesReport report;
    favorites = favoritesFile.Open(report);
    Tell(report);
}

CContentsPage::~CContentsPage()
{
    DestroyWindow();
    Tell(favoritesFile.Flush(favorites));
}

void CContentsPage::Tell(const FavoritesReport& report)
{
    if (report.withoutLock && !toldWithoutLock && frame->GetStatusBar()) {
        toldWithoutLock = true;
        frame->SetStatusText(
            wxString::FromUTF8("Избранное сохраняется без блокировки: её не поддерживает файловая система"),
            0);
    }
    // What holds for the rest of the run is said once: the first change
    // tells it, later ones say nothing more.
    const bool forTheRun = report.trouble == FavoritesTrouble::Unreadable ||
                           report.trouble == FavoritesTrouble::ReadOnly ||
                           report.trouble == FavoritesTrouble::FolderReadOnly;
    const bool inPlace = report.trouble == FavoritesTrouble::RewrittenInPlace;
    if (report.trouble == FavoritesTrouble::None || (forTheRun && toldCannotSave) || (inPlace && toldInPlace))
        return;
    toldCannotSave = toldCannotSave || forTheRun;
    toldInPlace = toldInPlace || inPlace;
    // Favourites lost without a word are what these boxes prevent.
    const bool warning = (report.trouble == FavoritesTrouble::Damaged && !report.backup.empty()) || inPlace ||
                         report.trouble == FavoritesTrouble::TooLarge;
    TheHostUi().ShowMessage(FavoritesTroubleText(report, favoritesFile.path()), "Vestrels",
                            warning ? platform::MessageIcon::Warning : platform::MessageIcon::Error,
                            platform::MessageButtons::Ok);
}

void CContentsPage::ShowFavorites(FavoritesStore fresh)
{
    CarryMarks(favorites, fresh);
    favorites = std::move(fresh);
}

bool CContentsPage::ChangeFavorites(FavoritesChange change)
{
    FavoritesStore fresh;
    const FavoritesReport report = favoritesFile.Apply(fresh, std::move(change));
    ShowFavorites(std::move(fresh));
    Tell(report);
    return report.trouble != FavoritesTrouble::TooLarge;
}

bool CContentsPage::RefreshFavorites()
{
    FavoritesReport report;
    std::optional<FavoritesStore> fresh = favoritesFile.ReloadIfChanged(report);
    if (fresh)
        ShowFavorites(std::move(*fresh));
    Tell(report);
    return fresh.has_value();
}

wxListBox* CContentsPage::issueList() const
{
    return window() ? dynamic_cast<wxListBox*>(window()->FindWindow(ID_ISSUE_LIST)) : nullptr;
}

void CContentsPage::OnInitPage()
{
    issueChosen = false;
    if (!libraryBuilt)
        BuildLibrary();

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
    if (selectedIssue >= 0 && selectedIssue < library.issueCount())
        list->SetSelection(selectedIssue);
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
    InvalidateArticleView(false);
}

void CContentsPage::BuildLibrary()
{
    selectedIssue = -1;
    library = Library{};
    const std::string currentDirectory = platform::files::CurrentDirectory();
    // A catalogue whose prefixes match nothing is mended from here, or the
    // user would be asked for folders until the program ends.
    const CatalogueRepair repair = [this] {
        if (frame->journalsDlg.DoModal(frame) != wxID_OK)
            return false;
        frame->StoreCatalogueChanges();
        return true;
    };
    // The message that the request limit ends the program has been shown.
    if (DiscoverIssues(TheHostUi(), frame->catalogue, library, currentDirectory, frame->directoryRequests, repair,
                       frame->workingDirectoryForRun) == DiscoveryResult::RequestLimitReached)
        std::exit(1);
    libraryBuilt = true;
}

void CContentsPage::ReleaseLibrary()
{
    library.folderNames.clear();
    library.issues.clear();
    libraryBuilt = false;
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

void CContentsPage::InvalidateArticleView(bool focus)
{
    CQuillboxView* view = frame->articleView;
    if (!view)
        return;
    view->Refresh();
    // The list takes the focus back when its own click or key handling ends,
    // so the view takes it after that.
    if (focus)
        view->CallAfter([view] { view->SetFocus(); });
}

void CContentsPage::OnSelectionChanged(wxCommandEvent&)
{
    selectedIssue = issueList()->GetSelection();
    InvalidateArticleView(!TypingAhead(issueList()));
    frame->listItemChosen = true;
    issueChosen = true;
}

void CContentsPage::OnDoubleClick(wxCommandEvent&)
{
    OpenArticle("", true);
}

void CContentsPage::OpenArticle(std::string link, bool relative)
{
    if (!relative && selectedIssue >= 0) {
        // A favourite's stored path may come from a Windows installation.
        StoredLinkToOpen decision = LinkToOpen(library, link);
        if (!decision.link) {
            frame->SetStatusText(From1251(decision.refusal), 0);
            return;
        }
        link = std::move(*decision.link);
    }
    ::OpenArticle(TheHostUi(), library, selectedIssue, std::move(link), relative);
}
