// SPDX-License-Identifier: GPL-3.0-or-later
// The reader's session: each operation moves the place as the windows
// expect, says what it changed, and every favourites change is in the file.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "core/favorites/favorites_store.h"
#include "core/session/reader_session.h"
#include "platform/paths.h"
#include "support/discovery_fake_host.h"
#include "support/temp_dir.h"

namespace {

struct Place {
    int index;
    ReaderMode mode;
    int article;
    bool listItemChosen;
};

struct Outcome {
    SessionChange change;
    std::optional<AddOutcome> added;
    int opened = 0;  ///< targets handed to the desktop
    std::optional<ReadStep> read;
};

FavoritesStore TwoSections()
{
    FavoritesStore store;
    store.sections.push_back({"A", {{"a1", "\\x\\1\\a1.htm", kMarkPlain, {}}, {"a2", "\\x\\1\\a2.htm", kMarkPlain, {}}}});
    store.sections.push_back({"B", {{"b1", "\\x\\1\\b1.htm", kMarkPlain, {}}}});
    return store;
}

SessionChange Changed(bool place, bool selection, bool favorites = false, bool sections = false)
{
    SessionChange change;
    change.place = place;
    change.selection = selection;
    change.favorites = favorites;
    change.sectionsChanged = sections;
    return change;
}

}  // namespace

TEST(ReaderSession, OperationsMoveThePlaceAndSayWhatChanged)
{
    using S = ReaderSession;
    const struct Case {
        const char* what;
        std::function<void(S&)> before;
        std::function<Outcome(S&, FakeHost&)> operation;
        Outcome expected;
        Place after;
        std::size_t sectionsInFile;
    } cases[] = {
        {"an issue chosen in the list after an article was clicked",
         [](S& s) { s.SelectArticle(1); },
         [](S& s, FakeHost&) { return Outcome{s.ShowIssue(0, true)}; },
         {Changed(true, true)}, {0, ReaderMode::Issues, 1, true}, 2},
        {"the same issue again, not chosen: nothing changed",
         [](S& s) { s.ShowIssue(0, true); },
         [](S& s, FakeHost&) { return Outcome{s.ShowIssue(0, false)}; },
         {Changed(false, false)}, {0, ReaderMode::Issues, 0, true}, 2},
        {"a section chosen turns to the favourites",
         [](S& s) { s.ShowIssue(0, true); },
         [](S& s, FakeHost&) { return Outcome{s.ShowSection(1, true)}; },
         {Changed(true, false)}, {1, ReaderMode::Favorites, 0, true}, 2},
        {"nothing shown keeps the mode",
         [](S& s) { s.ShowSection(1, false); },
         [](S& s, FakeHost&) { return Outcome{s.ShowNothing()}; },
         {Changed(true, false)}, {-1, ReaderMode::Favorites, 0, true}, 2},
        {"an article clicked: Read opens it, not the list item",
         [](S& s) { s.ShowIssue(0, true); },
         [](S& s, FakeHost&) { return Outcome{s.SelectArticle(1)}; },
         {Changed(false, true)}, {0, ReaderMode::Issues, 1, false}, 2},
        {"a new library shows nothing",
         [](S& s) { s.ShowIssue(0, true); },
         [](S& s, FakeHost&) {
             s.NewLibrary();
             return Outcome{};
         },
         {}, {-1, ReaderMode::Issues, 0, true}, 2},
        {"an issue's entry added to a new section is in the file",
         [](S& s) { s.ShowIssue(0, true); },
         [](S& s, FakeHost&) {
             const FavoriteAdded added = s.AddFavorite("C", "c1", "c1.htm", {});
             return Outcome{added.change, added.outcome};
         },
         {Changed(false, false, true), AddOutcome::Added}, {0, ReaderMode::Issues, 0, true}, 3},
        {"a title the section holds already is refused",
         [](S& s) { s.ShowIssue(0, true); },
         [](S& s, FakeHost&) {
             const FavoriteAdded added = s.AddFavorite("A", "a1", "a1.htm", {});
             return Outcome{added.change, added.outcome};
         },
         {Changed(false, false, true), AddOutcome::Duplicate}, {0, ReaderMode::Issues, 0, true}, 2},
        {"a favourite removed: the place stays on its section",
         [](S& s) { s.ShowSection(0, true); },
         [](S& s, FakeHost&) { return Outcome{s.RemoveFavorite(0, 0, {})}; },
         {Changed(false, true, true)}, {0, ReaderMode::Favorites, -1, true}, 2},
        {"a section's last favourite removed: the list is built again",
         [](S& s) { s.ShowSection(1, true); },
         [](S& s, FakeHost&) { return Outcome{s.RemoveFavorite(1, 0, {})}; },
         {Changed(false, false, true, true)}, {1, ReaderMode::Favorites, 0, true}, 1},
        {"a position past the store removes nothing",
         [](S& s) { s.ShowSection(1, true); },
         [](S& s, FakeHost&) { return Outcome{s.RemoveFavorite(1, 5, {})}; },
         {}, {1, ReaderMode::Favorites, 0, true}, 2},
        {"Read after an issue was chosen opens its start page",
         [](S& s) { s.ShowIssue(0, true); },
         [](S& s, FakeHost&) { return Outcome{{}, std::nullopt, 0, s.OpenSelection(false)}; },
         {{}, std::nullopt, 0, ReadStep::OpenListItem}, {0, ReaderMode::Issues, 0, true}, 2},
        {"Read after a section was chosen asks for an article",
         [](S& s) { s.ShowSection(0, true); },
         [](S& s, FakeHost&) { return Outcome{{}, std::nullopt, 0, s.OpenSelection(true)}; },
         {{}, std::nullopt, 0, ReadStep::AskForAnArticle}, {0, ReaderMode::Favorites, 0, true}, 2},
        {"Read after an article was clicked opens that article",
         [](S& s) { s.ShowSection(0, true), s.SelectArticle(1); },
         [](S& s, FakeHost&) { return Outcome{{}, std::nullopt, 0, s.OpenSelection(true)}; },
         {{}, std::nullopt, 0, ReadStep::OpenSelectedArticle}, {0, ReaderMode::Favorites, 1, false}, 2},
        {"an issue's article is handed to the desktop",
         [](S& s) { s.ShowIssue(0, true); },
         [](S& s, FakeHost& host) {
             EXPECT_FALSE(s.OpenArticle(host, "a1.htm", true));
             return Outcome{{}, std::nullopt, static_cast<int>(host.openedTargets.size())};
         },
         {{}, std::nullopt, 1}, {0, ReaderMode::Issues, 0, true}, 2},
        {"a Windows path with no copy here is refused with a reason",
         [](S& s) { s.ShowSection(0, true); },
         [](S& s, FakeHost& host) {
             const std::optional<std::string> refusal = s.OpenArticle(host, "Z:\\nowhere\\a.htm", false);
             EXPECT_TRUE(refusal && !refusal->empty());
             return Outcome{{}, std::nullopt, static_cast<int>(host.openedTargets.size())};
         },
         {{}, std::nullopt, 0}, {0, ReaderMode::Favorites, 0, true}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        dir.Write("SelFold.dat", SerializeFavorites(TwoSections()));
        int troubles = 0;
        FakeHost host;
        Outcome outcome;
        {
            ReaderSession session(FavoritesFile(dir.Join("SelFold.dat")),
                                  [&](const FavoritesReport& report, const std::string&) {
                                      troubles += report.trouble != FavoritesTrouble::None;
                                  });
            session.library().workPattern = platform::paths::FromHost(dir.path()) + "\\*";
            session.library().folderNames = {"issue1"};
            session.library().issues.resize(1);
            session.LibraryBuilt();
            c.before(session);
            outcome = c.operation(session, host);
            EXPECT_EQ(outcome.change, c.expected.change);
            EXPECT_EQ(outcome.added, c.expected.added);
            EXPECT_EQ(outcome.opened, c.expected.opened);
            EXPECT_EQ(outcome.read, c.expected.read);
            EXPECT_EQ(session.currentIndex(), c.after.index);
            EXPECT_EQ(session.mode(), c.after.mode);
            EXPECT_EQ(session.selectedArticle(), c.after.article);
            EXPECT_EQ(session.listItemChosen(), c.after.listItemChosen);
        }
        EXPECT_EQ(troubles, 0);
        EXPECT_EQ(ParseFavorites(dir.Read("SelFold.dat")).sections.size(), c.sectionsInFile);
    }
}
