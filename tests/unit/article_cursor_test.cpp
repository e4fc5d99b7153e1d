// SPDX-License-Identifier: GPL-3.0-or-later
// The article view's keyboard cursor: which entries it stops at, and how far
// the view scrolls to bring an entry into sight.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "articles/view_scroll.h"
#include "articles/view_selection.h"

namespace {

/// Entries by letter: a article, f found article, H heading (no link),
/// T the terminating entry (no title, but the link of a free slot).
struct CursorCase {
    const char* name;
    const char* entries;
    bool issueMode;
    int from;  ///< -1: no cursor
    CursorMove move;
    int expected;  ///< -1: none, the key leaves the view
};

class CursorMoves : public testing::TestWithParam<CursorCase> {};

TEST_P(CursorMoves, StopOnlyAtArticles) {
    const CursorCase& c = GetParam();
    std::vector<IssueRecord> issues(1);
    const std::string letters = c.entries;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        ArticleEntry& entry = issues[0].articles[i];
        entry.title = letters[i] == 'T' ? "" : "     Title " + std::to_string(i);
        entry.link = letters[i] == 'H' ? "" : "a" + std::to_string(i) + ".htm";
        entry.mark = letters[i] == 'f' ? kMarkFound : kMarkPlain;
    }
    FavoritesStore favorites;
    favorites.sections.push_back({"Section", {}});
    for (std::size_t i = 0; i < letters.size(); ++i)
        favorites.sections[0].articles.push_back(
            {letters[i] == 'T' ? "" : "     Favourite", letters[i] == 'H' ? "" : "C:\\a.htm", kMarkPlain, HitRect{}});
    const ArticleData data{&issues, &favorites};
    const EntryRange range = CurrentEntryRange(c.issueMode, 0, data);
    const std::optional<int> from = c.from < 0 ? std::nullopt : std::optional<int>(c.from);
    EXPECT_EQ(MoveCursor(range, c.issueMode, from, c.move).value_or(-1), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CursorMoves,
    testing::Values(
        CursorCase{"TabWithoutCursorGoesPastTheHeadingToTheFirstArticle", "HaaHaT", true, -1, CursorMove::Next, 1},
        CursorCase{"TabSkipsAHeading", "HaaHaT", true, 2, CursorMove::Next, 4},
        CursorCase{"TabOnTheLastArticleLeavesPastTheTerminatingEntry", "HaaHaT", true, 4, CursorMove::Next, -1},
        CursorCase{"ShiftTabSkipsAHeading", "HaaHaT", true, 4, CursorMove::Previous, 2},
        CursorCase{"ShiftTabOnTheFirstArticleLeaves", "HaaHaT", true, 1, CursorMove::Previous, -1},
        CursorCase{"ShiftTabWithoutCursorGoesToTheLastArticle", "HaaHaT", true, -1, CursorMove::Previous, 4},
        CursorCase{"TabFromAClickedHeading", "HaaHaT", true, 3, CursorMove::Next, 4},
        CursorCase{"HomeFromTheMiddle", "HaaHaT", true, 4, CursorMove::First, 1},
        CursorCase{"EndFromTheMiddle", "HaaHaT", true, 1, CursorMove::Last, 4},
        CursorCase{"CursorPastTheEndCountsAsNone", "aaT", true, 7, CursorMove::Next, 0},
        CursorCase{"OnlyHeadingsGiveNoStop", "HHT", true, -1, CursorMove::Next, -1},
        CursorCase{"EndWithOnlyHeadings", "HHT", true, -1, CursorMove::Last, -1},
        CursorCase{"F3FindsTheNextFound", "fafaafT", true, 0, CursorMove::NextFound, 2},
        CursorCase{"F3WithoutCursorFindsTheFirstFound", "afaafT", true, -1, CursorMove::NextFound, 1},
        CursorCase{"F3AfterTheLastFoundStays", "afaafT", true, 4, CursorMove::NextFound, -1},
        CursorCase{"ShiftF3FindsThePreviousFound", "afaafT", true, 4, CursorMove::PreviousFound, 1},
        CursorCase{"FoundHeadingIsNoStop", "aHfT", true, -1, CursorMove::NextFound, 2},
        CursorCase{"FavouritesStopAtEveryTitledEntry", "aaa", false, 0, CursorMove::Next, 1},
        CursorCase{"FavouritesLastOfTheSection", "aaa", false, -1, CursorMove::Last, 2},
        CursorCase{"FavouritesTabOnTheLastLeaves", "aaa", false, 2, CursorMove::Next, -1}),
    [](const auto& info) { return std::string(info.param.name); });

struct ShowCase {
    const char* name;
    int position, top, bottom;
    int expected;
};

class ScrollIntoSight : public testing::TestWithParam<ShowCase> {};

// Client height 100, scroll maximum 400; top and bottom in client coordinates.
TEST_P(ScrollIntoSight, MovesOnlyWhatIsOutOfSight) {
    const ShowCase& c = GetParam();
    EXPECT_EQ(ScrollToShow(c.position, c.top, c.bottom, 100, 400), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScrollIntoSight,
    testing::Values(ShowCase{"WhollyInSightStays", 50, 0, 100, 50},
                    ShowCase{"AboveGoesToTheTopWithTheMargin", 200, -30, -14, 160},
                    ShowCase{"BelowGoesToTheBottomWithTheMargin", 0, 140, 156, 66},
                    ShowCase{"PartlyBelowComesUp", 0, 90, 106, 16},
                    ShowCase{"TallerThanTheClientGoesToTheTop", 0, 150, 400, 140},
                    ShowCase{"FirstEntryGoesBackToZero", 30, -20, -4, 0},
                    ShowCase{"NeverPastTheMaximum", 380, 200, 216, 400}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
