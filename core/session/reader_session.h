// SPDX-License-Identifier: GPL-3.0-or-later
// The reader's session: the library, the favourites file with what it holds,
// and the reader's place in them (the current index, issue or favourites
// mode, the selected article, whether the list item was chosen). The frame
// owns one; the windows read it and change the place only through its named
// operations, each of which says what changed, so that one look shows where
// the current index is written.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/favorites/favorites_file.h"
#include "core/favorites/favorites_ops.h"
#include "core/favorites/favorites_store.h"
#include "core/library/library.h"

namespace platform {
class HostUi;
}

enum class ReaderMode { Issues, Favorites };

/// What "Читать" does with the selection.
enum class ReadStep {
    OpenListItem,         ///< the chosen issue's start page
    OpenSelectedArticle,  ///< the article clicked last
    AskForAnArticle,      ///< a favourites section has no start page: the user is told to click one
};

/// What one operation changed; the windows show again only that.
struct SessionChange {
    bool place = false;            ///< the current index or the mode
    bool selection = false;        ///< the selected article or whether the list item was chosen
    bool favorites = false;        ///< the favourites store was replaced by the file's content
    bool sectionsChanged = false;  ///< the sections' list no longer matches the store: build it again
    bool refused = false;          ///< a change of the favourites that did not reach the file

    bool operator==(const SessionChange&) const = default;
};

/// What adding a favourite did: the session's change and the core's outcome.
struct FavoriteAdded {
    SessionChange change;
    AddOutcome outcome = AddOutcome::Refused;
};

class ReaderSession {
public:
    /// Tells the user of a favourites report about the file at `hostPath`.
    using TroubleTeller = std::function<void(const FavoritesReport& report, const std::string& hostPath)>;

    /// Opens the favourites file; what goes wrong with it, now or later, is
    /// handed to `tell`.
    ReaderSession(FavoritesFile file, TroubleTeller tell);
    /// Saves the favourites only if a change has not reached the file.
    ~ReaderSession();
    ReaderSession(const ReaderSession&) = delete;
    ReaderSession& operator=(const ReaderSession&) = delete;

    Library& library() { return library_; }
    const Library& library() const { return library_; }
    /// The store; the view writes the marks and hit rectangles of its entries.
    FavoritesStore& favorites() { return favorites_; }
    const FavoritesStore& favorites() const { return favorites_; }
    const FavoritesFile& favoritesFile() const { return file_; }

    bool libraryBuilt() const { return libraryBuilt_; }
    /// The library was built from the working directory.
    void LibraryBuilt() { libraryBuilt_ = true; }
    /// An empty library to build, with nothing shown.
    Library& NewLibrary();
    /// Throws the library away; the next contents window builds it again.
    void ReleaseLibrary();

    /// An issue, or a section while the favourites are shown; -1 for none.
    int currentIndex() const { return currentIndex_; }
    ReaderMode mode() const { return mode_; }
    bool issueMode() const { return mode_ == ReaderMode::Issues; }
    int selectedArticle() const { return selectedArticle_; }
    /// "Читать" opens the chosen list item until an article is clicked.
    bool listItemChosen() const { return listItemChosen_; }

    /// Shows issue `index` (-1: none) in issue mode; `chosenInList` when the
    /// user chose it in a list.
    SessionChange ShowIssue(int index, bool chosenInList);
    /// Shows section `section` (-1: none) in favourites mode.
    SessionChange ShowSection(int section, bool chosenInList);
    /// Shows no issue or section; the mode stays.
    SessionChange ShowNothing();
    /// Article `article` of what is shown was clicked or reached by a key.
    SessionChange SelectArticle(int article);

    /// Applies `change` to the favourites file as it is now and takes the
    /// result; the marks stay on their articles.
    SessionChange ChangeFavorites(FavoritesChange change);
    /// Takes the file's content when another copy changed it.
    SessionChange RefreshFavorites();
    /// Adds entry `title`/`link` of the current issue to the section named
    /// `sectionName`, saved at once.
    FavoriteAdded AddFavorite(const std::string& sectionName, const std::string& title, const std::string& link,
                              MemHooks hooks);
    /// Removes article `article` of section `section` of what is shown; the
    /// place stays on its section and article wherever the file put them,
    /// or the sections' list is to be built again. Positions past the store
    /// change nothing.
    SessionChange RemoveFavorite(std::size_t section, std::size_t article, MemHooks hooks);

    /// What "Читать" opens; `favoritesPage` while the favourites tab is
    /// shown, whose list items are sections.
    ReadStep OpenSelection(bool favoritesPage) const;

    /// Opens `link` of the current issue, or a complete link (favourites),
    /// through `host`; the status text (1251) when a stored link cannot be
    /// opened here.
    std::optional<std::string> OpenArticle(platform::HostUi& host, std::string link, bool relative) const;

private:
    FavoritesFile file_;
    TroubleTeller tell_;
    Library library_;
    FavoritesStore favorites_;
    bool libraryBuilt_ = false;
    int currentIndex_ = -1;
    ReaderMode mode_ = ReaderMode::Issues;
    int selectedArticle_ = 0;
    bool listItemChosen_ = true;

    SessionChange MoveTo(ReaderMode mode, int index, bool chosenInList);
    void TakeFavorites(FavoritesStore fresh);
};
