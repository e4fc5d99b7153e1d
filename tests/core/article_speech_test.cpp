// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader is told of the article view, and the view's fonts
// under the desktop's text scale.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/view/font_request.h"
#include "core/view/spoken_entries.h"

namespace {

struct Item {
    std::string title;
    std::string link = "a.htm";
    std::int32_t mark = kMarkPlain;
};

TEST(ArticleSpeech, EntriesAreSpokenAsDrawn) {
    const std::vector<Item> issueItems = {{"     First"},
                                          {"     Heading", "", kMarkSelected},
                                          {"     Second\r\nits annotation\r\n", "b.htm", kMarkSelected},
                                          {"\r\nonly an annotation"},
                                          {""},
                                          {"     after the end"}};
    const struct {
        const char* what;
        bool issueMode;
        int index;
        SpokenEntries expected;
    } cases[] = {
        {"issue: blanks gone, heading, annotation, selection; the range ends at the empty title",
         true, 0,
         {"Issue 5",
          {{"First", "", false, false}, {"Heading", "", true, true}, {"Second", "its annotation", false, true},
           {"", "", false, false}}}},
        {"section: no headings, every entry", false, 0,
         {"Section", {{"First"}, {"Heading", "", false, true}, {"Second", "its annotation", false, true},
                      {""}, {"after the end"}}}},
        {"no such issue", true, 1, {}},
        {"no index", false, -1, {}},
    };
    for (const auto& c : cases) {
        std::vector<IssueRecord> issues(1);
        issues[0].caption = "Issue 5";
        FavoritesStore store;
        store.sections.push_back({"Section", {}});
        for (std::size_t i = 0; i < issueItems.size(); ++i) {
            issues[0].articles[i] = {issueItems[i].title, issueItems[i].link, {}, issueItems[i].mark};
            if (!issueItems[i].title.empty())
                store.sections[0].articles.push_back({issueItems[i].title, issueItems[i].link, issueItems[i].mark, {}});
        }
        EXPECT_EQ(DescribeShownEntries(c.issueMode, c.index, ArticleData{&issues, &store}), c.expected) << c.what;
    }
}

TEST(ArticleSpeech, DesktopTextScaleEnlargesPixelHeightsOnly) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        FontSizeKind kind;
        int pixels;
        double scale;
        int expected;
    } cases[] = {
        {FontSizeKind::CellHeight, 16, 1.0, 16},
        {FontSizeKind::CellHeight, 16, 1.5, 24},
        {FontSizeKind::CharacterHeight, 13, 1.5, 20},  // 19.5 rounds up
        {FontSizeKind::CharacterHeight, 13, 0.5, 7},
        {FontSizeKind::CellHeight, 1, 0.1, 1},
        {FontSizeKind::CellHeight, 900, 2.0, kMaxFontPixelHeight},
        {FontSizeKind::CellHeight, 16, 1e300, kMaxFontPixelHeight},
        {FontSizeKind::CellHeight, 16, 0.0, 16},
        {FontSizeKind::CellHeight, 16, -2.0, 16},
        {FontSizeKind::CellHeight, 16, nan, 16},
        {FontSizeKind::Default, 0, 2.0, 0},
    };
    for (const auto& c : cases) {
        FontRequest request;
        request.sizeKind = c.kind;
        request.pixelHeight = c.pixels;
        request.faceName = "Arial";
        FontRequest expected = request;
        expected.pixelHeight = c.expected;
        EXPECT_EQ(ScaledForDesktop(request, c.scale), expected) << c.pixels << " x " << c.scale;
    }
}

}  // namespace
