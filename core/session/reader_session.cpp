// SPDX-License-Identifier: GPL-3.0-or-later
// The reader's session: the one place that writes the current index, the
// mode and the selection, and that applies every change of the favourites.
#include "core/session/reader_session.h"

#include <memory>
#include <utility>

#include "core/library/article_target.h"
#include "platform/files.h"

ReaderSession::ReaderSession(FavoritesFile file, TroubleTeller tell) : file_(std::move(file)), tell_(std::move(tell))
{
    // What a copy killed during a save left behind goes before anything else.
    platform::files::RemoveStaleTemporaries(file_.path());
    FavoritesReport report;
    favorites_ = file_.Open(report);
    tell_(report, file_.path());
}

ReaderSession::~ReaderSession()
{
    tell_(file_.Flush(favorites_), file_.path());
}

Library& ReaderSession::NewLibrary()
{
    ShowNothing();
    library_ = Library{};
    return library_;
}

void ReaderSession::ReleaseLibrary()
{
    library_.folderNames.clear();
    library_.issues.clear();
    libraryBuilt_ = false;
}

SessionChange ReaderSession::MoveTo(ReaderMode mode, int index, bool chosenInList)
{
    SessionChange change;
    change.place = mode != mode_ || index != currentIndex_;
    change.selection = chosenInList && !listItemChosen_;
    mode_ = mode;
    currentIndex_ = index;
    if (chosenInList)
        listItemChosen_ = true;
    return change;
}

SessionChange ReaderSession::ShowIssue(int index, bool chosenInList)
{
    return MoveTo(ReaderMode::Issues, index, chosenInList);
}

SessionChange ReaderSession::ShowSection(int section, bool chosenInList)
{
    return MoveTo(ReaderMode::Favorites, section, chosenInList);
}

SessionChange ReaderSession::ShowNothing()
{
    return MoveTo(mode_, -1, false);
}

SessionChange ReaderSession::SelectArticle(int article)
{
    SessionChange change;
    change.selection = article != selectedArticle_ || listItemChosen_;
    selectedArticle_ = article;
    listItemChosen_ = false;
    return change;
}

void ReaderSession::TakeFavorites(FavoritesStore fresh)
{
    CarryMarks(favorites_, fresh);
    favorites_ = std::move(fresh);
}

SessionChange ReaderSession::ChangeFavorites(FavoritesChange change)
{
    FavoritesStore fresh;
    const FavoritesReport report = file_.Apply(fresh, std::move(change));
    TakeFavorites(std::move(fresh));
    tell_(report, file_.path());
    SessionChange result;
    result.favorites = true;
    result.refused = report.trouble == FavoritesTrouble::TooLarge;
    return result;
}

SessionChange ReaderSession::RefreshFavorites()
{
    FavoritesReport report;
    std::optional<FavoritesStore> fresh = file_.ReloadIfChanged(report);
    if (fresh)
        TakeFavorites(std::move(*fresh));
    tell_(report, file_.path());
    SessionChange result;
    result.favorites = fresh.has_value();
    return result;
}

FavoriteAdded ReaderSession::AddFavorite(const std::string& sectionName, const std::string& title,
                                         const std::string& link, MemHooks hooks)
{
    // Applied to the file as it is now, so a favourite another copy added
    // meanwhile is kept, and saved at once, so it survives a crash.
    const auto result = std::make_shared<AddResult>();
    FavoriteAdded added;
    added.change = ChangeFavorites(AddChange(sectionName, title, StoredLinkFor(library_, currentIndex_, link),
                                             std::move(hooks), result));
    added.outcome = result->outcome;
    return added;
}

SessionChange ReaderSession::RemoveFavorite(std::size_t section, std::size_t article, MemHooks hooks)
{
    // Positions of a store that has been replaced since name nothing.
    if (section >= favorites_.sections.size() || article >= favorites_.sections[section].articles.size())
        return {};
    const FavoritesStore before = favorites_;
    const TSelectedFolder& folder = before.sections[section];
    const auto sectionRemoved = std::make_shared<bool>(false);
    SessionChange change = ChangeFavorites(RemoveChange(folder.name, folder.articles[article].title,
                                                        folder.articles[article].link, std::move(hooks),
                                                        sectionRemoved));
    const int follow = SameSectionIn(before, static_cast<int>(section), favorites_);
    // A section gone, or another copy's sections: the list is built again.
    if (follow < 0 || *sectionRemoved || !SameSectionNames(before, favorites_)) {
        change.sectionsChanged = true;
        return change;
    }
    change.place = follow != currentIndex_;
    currentIndex_ = follow;
    const int selected = SelectedArticleOf(favorites_, follow);
    change.selection = selected != selectedArticle_;
    selectedArticle_ = selected;
    return change;
}

ReadStep ReaderSession::OpenSelection(bool favoritesPage) const
{
    if (!listItemChosen_)
        return ReadStep::OpenSelectedArticle;
    // With a favourites section chosen the index names a section, not an
    // issue: there is no start page, only the article clicked.
    return favoritesPage ? ReadStep::AskForAnArticle : ReadStep::OpenListItem;
}

std::optional<std::string> ReaderSession::OpenArticle(platform::HostUi& host, std::string link, bool relative) const
{
    if (!relative && currentIndex_ >= 0) {
        // A favourite's stored path may come from a Windows installation.
        StoredLinkToOpen decision = LinkToOpen(library_, link);
        if (!decision.link)
            return decision.refusal;
        link = std::move(*decision.link);
    }
    ::OpenArticle(host, library_, currentIndex_, std::move(link), relative);
    return std::nullopt;
}
