// SPDX-License-Identifier: GPL-3.0-or-later
// The article view's keyboard cursor: which entries it stops at, and how far the view scrolls to
// bring an entry into sight.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/view/view_scroll.h"
#include "core/view/view_selection.h"

// Entries: a article, f found article, H heading (no link), T the terminating entry (no title, a
// free slot's link). -1 as `from`: no cursor; as the result: none, the key leaves the view.
TEST(ArticleCursor, StopsOnlyAtArticles) {
    const struct { const char* entries; bool issueMode; int from; CursorMove move; int expected; } cases[] = {
        {"HaaHaT", true, -1, CursorMove::Next, 1},       {"HaaHaT", true, 2, CursorMove::Next, 4},
        {"HaaHaT", true, 4, CursorMove::Next, -1},       {"HaaHaT", true, 4, CursorMove::Previous, 2},
        {"HaaHaT", true, 1, CursorMove::Previous, -1},   {"HaaHaT", true, -1, CursorMove::Previous, 4},
        {"HaaHaT", true, 3, CursorMove::Next, 4},        {"HaaHaT", true, 4, CursorMove::First, 1},
        {"HaaHaT", true, 1, CursorMove::Last, 4},        {"aaT", true, 7, CursorMove::Next, 0},
        {"HHT", true, -1, CursorMove::Last, -1},         {"afaafT", true, -1, CursorMove::NextFound, 1},
        {"afaafT", true, 1, CursorMove::NextFound, 4},   {"afaafT", true, 4, CursorMove::NextFound, -1},
        {"afaafT", true, 4, CursorMove::PreviousFound, 1}, {"aHa", false, 0, CursorMove::Next, 1},
        {"aaa", false, 2, CursorMove::Next, -1}};
    for (const auto& c : cases) {
        std::vector<IssueRecord> issues(1);
        FavoritesStore favorites{{{"Section", {}}}};
        for (std::size_t i = 0; c.entries[i] != '\0'; ++i) {
            issues[0].articles[i] = {c.entries[i] == 'T' ? "" : "     Title", c.entries[i] == 'H' ? "" : "a.htm", {},
                                     c.entries[i] == 'f' ? kMarkFound : kMarkPlain};
            const ArticleEntry& e = issues[0].articles[i];
            favorites.sections[0].articles.push_back({e.title, e.link, e.mark, {}});
        }
        const EntryRange range = CurrentEntryRange(c.issueMode, 0, ArticleData{&issues, &favorites});
        const std::optional<int> from = c.from < 0 ? std::nullopt : std::optional<int>(c.from);
        EXPECT_EQ(MoveCursor(range, c.issueMode, from, c.move).value_or(-1), c.expected) << "case " << &c - cases;
    }
}

// Client height 100, scroll maximum 400; top and bottom in client coordinates.
TEST(ArticleCursor, ScrollsWhatIsOutOfSightIntoSight) {
    const struct { int position, top, bottom, expected; } cases[] = {
        {50, 0, 100, 50}, {200, -30, -14, 160}, {0, 140, 156, 66}, {0, 150, 400, 140}, {30, -20, -4, 0},
        {380, 200, 216, 400}};
    for (const auto& c : cases)
        EXPECT_EQ(ScrollToShow(c.position, c.top, c.bottom, 100, 400), c.expected) << c.position << " " << c.top;
}
