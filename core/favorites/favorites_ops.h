// SPDX-License-Identifier: GPL-3.0-or-later
// How the favourites change while the program runs: adding an article to a
// named section (creating the section on the way), removing a favourite and,
// with its last one, its section, and the reallocation every change goes
// through. Also the rules that turn an entry's link into the complete link a
// favourite keeps, and the cleaning that keeps every stored text readable.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/favorites/favorites_file.h"
#include "core/favorites/favorites_store.h"
#include "core/library/library.h"

/// What the reallocations need from outside.
struct MemHooks {
    /// Shows the diagnostic of a failed element copy (1251 text).
    std::function<void(const std::string& text)> report;
    /// Runs before element `i` of the old array is copied; whatever it throws
    /// counts as a failed copy. Tests make copies fail through it.
    std::function<void(std::size_t i)> beforeCopy;
};

// The reallocation family. Each change builds a new array of exactly the new
// element count and copies the kept elements into it in order. A failed copy
// shows the diagnostic with the index being copied and the old count, stops
// copying, and the rest of the new array keeps empty elements.

/// One more section at the end: empty name, no articles yet.
void AddMemSectionGrow(FavoritesStore& store, const MemHooks& hooks);
/// Drops section `index`; the later ones move up.
void AddMemSectionRemove(FavoritesStore& store, std::size_t index, const MemHooks& hooks);
/// One more article at the end: empty title and link, mark 0.
void AddMemArticleGrow(TSelectedFolder& section, const MemHooks& hooks);
/// Drops article `index`; the later ones move up.
void AddMemArticleRemove(TSelectedFolder& section, std::size_t index, const MemHooks& hooks);

/// A title as the file can hold it and as it reads back: a CR or LF outside a
/// CR LF pair, a zero byte and an empty line each become a blank, and lines
/// after the second are joined to it with nothing between (as loading does).
std::string CleanFavoriteTitle(std::string_view title);
/// A title shown on one line: each CR LF as " / ".
std::string TitleOnOneLine(std::string_view title);
/// A section name or a link on one line: CR, LF and zero bytes become blanks.
std::string CleanFavoriteLine(std::string_view text);

/// The complete link a favourite keeps for `link` of issue `issue`: an
/// address unchanged, anything else the path that opening the entry opens;
/// cleaned onto one line.
std::string StoredLinkFor(const Library& library, int issue, std::string_view link);

/// `name` as AddFolder stores it: appends a section named `name` (cleaned)
/// with one empty article, and returns its number.
std::size_t AddFolder(FavoritesStore& store, std::string_view name, const MemHooks& hooks);

enum class AddOutcome {
    Added,      ///< the article is the chosen section's last
    Duplicate,  ///< the section already holds an article of that title; nothing changed
    Refused,    ///< an empty title (an issue's terminating entry) or link; nothing changed
};

struct AddResult {
    AddOutcome outcome = AddOutcome::Refused;
    int section = -1;  ///< the chosen section, when there is one
};

/// Adds an article to the first section named `chosenName` byte for byte,
/// or to a new section of that name. `storedLink` is complete already
/// (StoredLinkFor). The duplicate test compares the cleaned titles.
AddResult AddFavorite(FavoritesStore& store, std::string_view chosenName, std::string_view title,
                      std::string_view storedLink, const MemHooks& hooks);

/// Removes article `article` of section `section`; true when that was the
/// section's last, so the section went too.
bool RemoveFavorite(FavoritesStore& store, std::size_t section, std::size_t article, const MemHooks& hooks);

/// The change that adds an article (AddFavorite) to whatever the file holds
/// when it is applied; `result` gets the outcome of its latest application.
FavoritesChange AddChange(std::string chosenName, std::string title, std::string storedLink, MemHooks hooks,
                          std::shared_ptr<AddResult> result);
/// The change that removes the first article with this title and link from
/// the first section of this name; `sectionRemoved` tells whether the
/// section went with it.
FavoritesChange RemoveChange(std::string sectionName, std::string title, std::string link, MemHooks hooks,
                             std::shared_ptr<bool> sectionRemoved);

/// Gives the articles of `fresh` the marks their like (same section name,
/// title and link) had in `old`, so a selection survives a reload.
void CarryMarks(const FavoritesStore& old, FavoritesStore& fresh);
/// The number in `fresh` of section `index` of `old` (by name); -1 when it
/// is gone.
int SameSectionIn(const FavoritesStore& old, int index, const FavoritesStore& fresh);
/// Whether both stores have the same sections by name, in the same order.
bool SameSectionNames(const FavoritesStore& a, const FavoritesStore& b);
/// The position of the selected article of section `index`; -1 when none.
int SelectedArticleOf(const FavoritesStore& store, int index);

/// "D:\..." or "D:/...": a path of a Windows volume.
bool IsDriveLetterPath(std::string_view link);

/// The link a favourite opens. Favourites files come from Windows too: a
/// path of a Windows machine (a drive-letter path that does not exist here, a
/// network path "\\server\share\..." or a URL "file:///D:/...") opens the
/// same path inside the same issue folder under the working directory, when
/// that file exists; anything else is returned unchanged. `exists` tells
/// whether an internal path names an existing file.
std::string ResolveStoredLink(const Library& library, std::string_view link,
                              const std::function<bool(const std::string& internalPath)>& exists);
/// The same, with the disk as it is.
std::string ResolveStoredLink(const Library& library, std::string_view link);

/// What opening a favourite hands to the desktop: its resolved link, or
/// nothing and the status-bar text (1251) that says why: an empty link, or a
/// path of a Windows machine with no copy here.
struct StoredLinkToOpen {
    std::optional<std::string> link;
    std::string refusal;
};
StoredLinkToOpen LinkToOpen(const Library& library, std::string_view link,
                            const std::function<bool(const std::string& internalPath)>& exists);
StoredLinkToOpen LinkToOpen(const Library& library, std::string_view link);
