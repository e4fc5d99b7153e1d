// SPDX-License-Identifier: GPL-3.0-or-later
// The "Оглавление" tab's page: it owns the library and the favourites, builds
// the library when it has none, and lists one row per issue.
#pragma once

#include "favorites/favorites_file.h"
#include "favorites/favorites_store.h"
#include "leftpane/page.h"
#include "library/library.h"

class wxListBox;

enum ContentsPageId { ID_ISSUE_LIST = 1001 };

class CContentsPage : public CPage {
public:
    /// Loads the favourites from "SelFold.dat" in the current directory (in
    /// any letter case); a damaged file is reported here, once.
    explicit CContentsPage(CMainFrame* frame);
    /// Saves the favourites only if a change has not reached the file.
    ~CContentsPage() override;

    /// Opens `link` of the current issue, or a complete link (favourites).
    void OpenArticle(std::string link, bool relative);

    /// Applies `change` to the favourites file as it is now and shows the
    /// result; every trouble is told in a message box naming the file. The
    /// marks stay on their articles. False when the change was refused.
    bool ChangeFavorites(FavoritesChange change);
    /// Takes the file's content when another copy changed it; true then.
    bool RefreshFavorites();

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
    bool toldCannotSave = false;   ///< the file cannot take changes: said once per run
    bool toldInPlace = false;      ///< the file is rewritten in place: said once per run
    bool toldWithoutLock = false;  ///< saved without a lock: noted once per run
    bool libraryBuilt = false;

    wxListBox* issueList() const;
    void BuildLibrary();
    void FitList();
    void InvalidateArticleView(bool focus);
    void ShowFavorites(FavoritesStore fresh);
    void Tell(const FavoritesReport& report);

    void OnSize(wxSizeEvent& event);
    void OnMove(wxMoveEvent& event);
    void OnSelectionChanged(wxCommandEvent& event);
    void OnDoubleClick(wxCommandEvent& event);

    wxDECLARE_EVENT_TABLE();
};
