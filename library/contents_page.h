// The "Оглавление" tab's page: it owns the library and the favourites, builds
// the library when it has none, and lists one row per issue.
#pragma once

#include "favorites/favorites_store.h"
#include "leftpane/page.h"
#include "library/library.h"

class wxListBox;

enum ContentsPageId { ID_ISSUE_LIST = 1001 };

class CContentsPage : public CPage {
public:
    /// Loads the favourites from "SelFold.dat" in the current directory.
    explicit CContentsPage(CMainFrame* frame);
    /// Saves the favourites.
    ~CContentsPage() override;

    /// Opens `link` of the current issue, or a complete link (favourites).
    void OpenArticle(std::string link, bool relative);

    /// Writes the favourites now, as at exit; false when they could not be
    /// written, which the user is told in a message box naming the file.
    bool SaveFavorites();

    /// Throws the library away; the next window builds it again.
    void ReleaseLibrary();

    bool hasIssues() const { return libraryBuilt; }
    int issueCount() const { return library.issueCount(); }

    Library library;
    FavoritesStore favorites;
    bool issueChosen = false;
    int selectedIssue = -1;

protected:
    const char* ResourceName() const override { return "IDD_CONTENTS_PAGE"; }
    void OnInitPage() override;
    void OnDestroyPage() override;

private:
    FavoritesFile favoritesFile;
    bool libraryBuilt = false;

    wxListBox* issueList() const;
    void BuildLibrary();
    void FitList();
    void InvalidateArticleView(bool focus);

    void OnSize(wxSizeEvent& event);
    void OnMove(wxMoveEvent& event);
    void OnSelectionChanged(wxCommandEvent& event);
    void OnDoubleClick(wxCommandEvent& event);

    wxDECLARE_EVENT_TABLE();
};
