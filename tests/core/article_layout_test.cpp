// SPDX-License-Identifier: GPL-3.0-or-later
// The article view's layout pass: entry ranges, title split, styles, running
// height, hit rectangles, scroll maximum, line step and paint preparation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "article_test_measurer.h"
#include "core/view/article_layout.h"

namespace {

struct Item {
    std::string title;
    std::string link = "a.htm";
    std::int32_t mark = kMarkPlain;
};

std::vector<IssueRecord> OneIssue(const std::vector<Item>& items) {
    std::vector<IssueRecord> issues(1);
    for (std::size_t i = 0; i < items.size(); ++i) {
        issues[0].articles[i].title = items[i].title;
        issues[0].articles[i].link = items[i].link;
        issues[0].articles[i].mark = items[i].mark;
    }
    return issues;
}

FavoritesStore OneSection(const std::vector<Item>& items) {
    FavoritesStore store;
    store.sections.push_back({"section", {}});
    for (const Item& item : items) store.sections[0].articles.push_back({item.title, item.link, item.mark, {}});
    return store;
}

const PixelRect kClient{0, 0, 400, 300};  // text rectangle: x 10 .. 380

struct Painted {
    ArticleViewState state;
    PaintResult paint;
};

Painted Paint(bool issueMode, std::vector<IssueRecord>* issues, FavoritesStore* store, FixedMeasurer& measurer,
              int scroll = 0) {
    Painted p;
    p.state.issueMode = issueMode;
    int lastPainted = 0;  // the index painted before: keep the scroll position
    p.state.scrollPosition = scroll;
    p.paint = PaintArticles(p.state, lastPainted, 0, ArticleData{issues, store}, measurer, kClient);
    return p;
}

TEST(ArticleLayout, FavouritesWithoutAnnotations) {
    FixedMeasurer measurer;
    FavoritesStore store = OneSection({{"first"}, {"second"}});
    Painted p = Paint(false, nullptr, &store, measurer);
    const auto& articles = store.sections[0].articles;
    EXPECT_EQ(CornersOf(articles[0].hitRect), (Corners{10, 10, 380, 26}));
    EXPECT_EQ(CornersOf(articles[1].hitRect), (Corners{10, 26, 380, 42}));
    EXPECT_TRUE(p.paint.rangeSet);
    ASSERT_EQ(p.paint.lines.size(), 2u);
    EXPECT_EQ(FieldsOf(p.paint.lines[1]), (LineFields{kStylePlainTitle, 10, 26, "second", Corners{10, 26, 380, 300}}));

    // Hit rectangles are in scrolled coordinates: 5 px higher tops.
    Paint(false, nullptr, &store, measurer, 5);
    EXPECT_EQ(articles[1].hitRect.top, 21);
}

TEST(ArticleLayout, AnnotationBelowTitleThenGap) {
    FixedMeasurer measurer;
    FavoritesStore store = OneSection({{"Title\r\nline two\r\nline three"}, {"Next"}});
    Painted p = Paint(false, nullptr, &store, measurer);
    const auto& articles = store.sections[0].articles;
    EXPECT_EQ(CornersOf(articles[0].hitRect), (Corners{10, 10, 380, 26}));  // the annotation is not part of it
    EXPECT_EQ(articles[1].hitRect.top, 10 + 16 + 16 + 20);
    ASSERT_EQ(p.paint.lines.size(), 3u);
    EXPECT_EQ(FieldsOf(p.paint.lines[1]), (LineFields{kStyleAnnotation, 10, 26, "line twoline three", Corners{10, 26, 380, 300}}));
}

// The scroll maximum is the list's height (0 to 10 px below its last block,
// unscrolled) less the client height, never below 0.
TEST(ArticleLayout, ScrollMaximumIsTheListHeightLessTheClientHeight) {
    struct Case {
        const char* name;
        bool issueMode;
        std::vector<Item> items;
        int clientHeight;
        int scrollPosition;
        int maximum;
    };
    const Item titleOnly{"title"}, annotated{"Title\r\nsummary"};
    const Case cases[] = {
        {"two titles: 10+16+16+10", false, {titleOnly, titleOnly}, 40, 0, 12},
        {"the same scrolled", false, {titleOnly, titleOnly}, 40, 30, 12},
        {"scrolled past the end", false, {titleOnly, titleOnly}, 40, 900, 12},
        {"list exactly as high as the client", false, {titleOnly, titleOnly}, 52, 0, 0},
        {"never below 0", false, {titleOnly, titleOnly}, 300, 0, 0},
        {"no gap after a last annotation", false, {annotated}, 40, 0, 12},
        {"gap between annotation and next", false, {annotated, titleOnly}, 40, 0, 48},
        {"empty section: no list", false, {}, 0, 0, 0},
        {"issue: terminating entry takes no room", true, {titleOnly}, 10, 0, 26},
        {"issue without articles", true, {}, 10, 0, 10},
    };
    for (const Case& c : cases) {
        FixedMeasurer measurer;
        std::vector<IssueRecord> issues = OneIssue(c.items);
        FavoritesStore store = OneSection(c.items);
        ArticleViewState state;
        state.issueMode = c.issueMode;
        state.scrollPosition = c.scrollPosition;
        int lastPainted = 0;
        PaintArticles(state, lastPainted, 0, ArticleData{&issues, &store}, measurer,
                      PixelRect{0, 0, 400, c.clientHeight});
        EXPECT_EQ(state.scrollMaximum, c.maximum) << c.name;
        EXPECT_EQ(state.scrollPosition, c.scrollPosition) << c.name;
    }
}

TEST(ArticleLayout, SplitTitle) {
    struct Case { std::string title; std::string proper; bool annotated; std::string annotation; };
    const Case cases[] = {
        {"", "", false, ""},
        {"plain", "plain", false, ""},
        {"a\r\nb\r\nc", "a", true, "bc"},
        {"\r\nhidden", "", false, ""},
        {"a\nb\r\nc\rd", "a\nb", true, "cd"},
        {"a\r\n", "a", true, ""},
    };
    for (const Case& c : cases) {
        TitleParts parts = SplitTitle(c.title);
        EXPECT_EQ(parts.titleProper, c.proper) << c.title;
        EXPECT_EQ(parts.hasAnnotation, c.annotated) << c.title;
        EXPECT_EQ(parts.annotation, c.annotation) << c.title;
    }
}

TEST(ArticleLayout, TitleBeginningWithLineBreakTakesNoRoom) {
    FixedMeasurer measurer;
    FavoritesStore store = OneSection({{"\r\nnever drawn"}, {"Next"}});
    Painted p = Paint(false, nullptr, &store, measurer);
    EXPECT_EQ(CornersOf(store.sections[0].articles[0].hitRect), (Corners{10, 10, 380, 10}));
    EXPECT_EQ(store.sections[0].articles[1].hitRect.top, 10);
    ASSERT_EQ(p.paint.lines.size(), 1u);
    EXPECT_EQ(p.paint.lines[0].text, "Next");
}

TEST(ArticleLayout, StyleChoice) {
    struct Case { bool issueMode; const char* link; std::int32_t mark; int style; };
    const Case cases[] = {
        {true, "", 0, kStyleHeading},          {true, "", 1, kStyleHeading},
        {true, "", 2, kStyleHeading},          {true, "a", 0, kStylePlainTitle},
        {true, "a", 1, kStyleFoundTitle},      {true, "a", 2, kStyleSelectedTitle},
        {true, "a", -3, kStyleSelectedTitle},  {false, "", 0, kStylePlainTitle},
        {false, "", 1, kStyleFoundTitle},      {false, "", 2, kStyleSelectedTitle},
        {false, "x", 99, kStyleSelectedTitle},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseStyle(c.issueMode, c.link, c.mark), c.style) << c.issueMode << c.link << c.mark;
}

TEST(ArticleLayout, HeadingsAndMarksDrawnInTheirStyles) {
    FixedMeasurer measurer;
    auto issues = OneIssue({{"Heading", "", kMarkSelected}, {"Found", "f.htm", kMarkFound}});
    Painted p = Paint(true, &issues, nullptr, measurer);
    ASSERT_EQ(p.paint.lines.size(), 2u);  // the terminating entry draws nothing
    EXPECT_EQ(p.paint.lines[0].style, kStyleHeading);
    EXPECT_EQ(p.paint.lines[1].style, kStyleFoundTitle);

    FavoritesStore store = OneSection({{"Heading-like", "", kMarkSelected}});
    p = Paint(false, nullptr, &store, measurer);
    ASSERT_EQ(p.paint.lines.size(), 1u);
    EXPECT_EQ(p.paint.lines[0].style, kStyleSelectedTitle);
}

TEST(ArticleLayout, LongTitlesWrapAtTheTextWidth) {
    FixedMeasurer measurer({8, 16, 2});
    // 370 px hold 46 characters of 8 px: two lines, 16 + 2 + 16 high.
    auto issues = OneIssue({{"     The quick brown fox jumps over the lazy sleeping dog"}, {"Next"}});
    Painted p = Paint(true, &issues, nullptr, measurer);
    EXPECT_EQ(CornersOf(issues[0].articles[0].hitRect), (Corners{10, 10, 380, 44}));
    EXPECT_EQ(issues[0].articles[1].hitRect.top, 44);
    ASSERT_GE(p.paint.lines.size(), 2u);
    EXPECT_EQ(p.paint.lines[0].text, "     The quick brown fox jumps over the lazy");
    EXPECT_EQ(p.paint.lines[1].y, 28);
    EXPECT_EQ(p.paint.lines[1].text, "sleeping dog");
}

TEST(ArticleLayout, TitleOfMegabytesCostsNoMoreThanItsFirstPart) {
    FixedMeasurer measurer({8, 16, 2});
    std::string huge;
    while (huge.size() < (10u << 20)) huge += "word ";
    auto store = OneSection({{huge}});
    EXPECT_LT(Paint(false, nullptr, &store, measurer).state.scrollMaximum, 400 * 18);
    EXPECT_EQ(store.sections[0].articles[0].title, huge);
}

TEST(ArticleLayout, OnlyLinesInsideTheClientAreaAreDrawn) {
    FixedMeasurer measurer;
    std::vector<Item> items(40, Item{"entry"});
    auto issues = OneIssue(items);
    Painted p = Paint(true, &issues, nullptr, measurer, 100);
    // Entry k has its top at 10 + 16k - 100; visible while it reaches into 0 .. 300.
    EXPECT_EQ(issues[0].articles[39].hitRect.top, 10 + 16 * 39 - 100);
    ASSERT_FALSE(p.paint.lines.empty());
    EXPECT_EQ(p.paint.lines.front().y, 10 + 16 * 5 - 100);  // entry 5 straddles the top edge
    EXPECT_EQ(p.paint.lines.back().y, 10 + 16 * 24 - 100);
}

TEST(ArticleLayout, IssueRanges) {
    std::vector<IssueRecord> issues(3);
    issues[1].articles[0].title = "one";
    issues[1].articles[1].title = "two";
    for (ArticleEntry& entry : issues[2].articles) entry.title = "full";

    EXPECT_EQ(IssueEntryRange(issues[0]).entries.size(), 1u);  // only the terminating entry
    EXPECT_EQ(IssueEntryRange(issues[1]).entries.size(), 3u);
    EntryRange full = IssueEntryRange(issues[2]);
    ASSERT_EQ(full.entries.size(), static_cast<std::size_t>(kEntriesPerIssue));
    EXPECT_EQ(full.entries.back().title, &issues[2].articles[kEntriesPerIssue - 1].title);

    ArticleData data{&issues, nullptr};
    EXPECT_TRUE(CurrentEntryRange(true, 2, data).shown);
    EXPECT_FALSE(CurrentEntryRange(true, -1, data).shown);
    EXPECT_FALSE(CurrentEntryRange(true, 3, data).shown);
    EXPECT_FALSE(CurrentEntryRange(false, 0, data).shown);  // no favourites at all
}

TEST(ArticleLayout, IssueWithoutArticles) {
    FixedMeasurer measurer;
    std::vector<IssueRecord> issues(1);
    Painted p = Paint(true, &issues, nullptr, measurer);
    EXPECT_EQ(CornersOf(issues[0].articles[0].hitRect), (Corners{10, 10, 380, 10}));
    EXPECT_TRUE(p.paint.lines.empty());
    EXPECT_EQ(p.state.scrollMaximum, 0);
}

TEST(ArticleLayout, FullIssueStopsAfterTheHundredth) {
    FixedMeasurer measurer;
    std::vector<Item> items(kEntriesPerIssue, Item{"entry"});
    auto issues = OneIssue(items);
    Painted p = Paint(true, &issues, nullptr, measurer);
    int lastTop = 10 + 16 * (kEntriesPerIssue - 1);
    EXPECT_EQ(issues[0].articles[kEntriesPerIssue - 1].hitRect.top, lastTop);
    // The hundredth is the last block: 10 + 1600 + 10 px less the 300 of the client.
    EXPECT_EQ(p.state.scrollMaximum, 10 + 16 * kEntriesPerIssue + 10 - 300);
}

TEST(ArticleLayout, LineStepInIssueModeIsTheLastEntrysStyle) {
    FixedMeasurer measurer;
    measurer.metrics[kStyleAnnotation].lineHeight = 20;
    measurer.metrics[kStyleHeading].lineHeight = 18;
    measurer.metrics[kStyleFoundTitle].lineHeight = 22;
    // The terminating entry has no link, so the heading style is measured last.
    auto issues = OneIssue({{"found\r\nsummary", "a.htm", kMarkFound}});
    EXPECT_EQ(Paint(true, &issues, nullptr, measurer).state.lineStep, 18);
}

TEST(ArticleLayout, LineStepInFavouritesModeIsThePreviouslySelectedFont) {
    FixedMeasurer measurer;
    measurer.metrics[kStylePlainTitle].lineHeight = 17;
    measurer.metrics[kStyleAnnotation].lineHeight = 20;
    measurer.metrics[kStyleFoundTitle].lineHeight = 22;
    struct Case { std::vector<Item> items; int step; };
    const Case cases[] = {
        {{{"only", "x", kMarkFound}}, 17},                             // the plain font before the first
        {{{"found", "x", kMarkFound}, {"next"}}, 22},                  // the previous title's font
        {{{"found\r\nsummary", "x", kMarkFound}, {"next"}}, 20},       // the previous annotation's font
    };
    for (const Case& c : cases) {
        FavoritesStore store = OneSection(c.items);
        EXPECT_EQ(Paint(false, nullptr, &store, measurer).state.lineStep, c.step) << c.items.size();
    }
}

TEST(ArticleLayout, EmptySectionKeepsTheLineStep) {
    FixedMeasurer measurer;
    FavoritesStore store = OneSection({});
    ArticleViewState state;
    state.issueMode = false;
    state.lineStep = 13;
    int lastPainted = 0;
    PaintResult paint = PaintArticles(state, lastPainted, 0, ArticleData{nullptr, &store}, measurer, kClient);
    EXPECT_TRUE(paint.rangeSet);
    EXPECT_EQ(state.lineStep, 13);
    EXPECT_EQ(state.scrollMaximum, 0);
}

TEST(ArticleLayout, ScrollPositionAcrossIndexAndModeChanges) {
    FixedMeasurer measurer;
    std::vector<IssueRecord> issues(5);
    FavoritesStore store;
    store.sections.resize(5);
    ArticleData data{&issues, &store};
    ArticleViewState state;
    int lastPainted = -1;

    EXPECT_TRUE(PaintArticles(state, lastPainted, 3, data, measurer, kClient).thumbToZero);
    state.scrollPosition = 40;
    EXPECT_FALSE(PaintArticles(state, lastPainted, 3, data, measurer, kClient).thumbToZero);
    EXPECT_EQ(state.scrollPosition, 40);

    state.issueMode = false;  // favourites section 3: the same index
    EXPECT_FALSE(PaintArticles(state, lastPainted, 3, data, measurer, kClient).thumbToZero);
    EXPECT_EQ(state.scrollPosition, 40);

    state.issueMode = true;
    EXPECT_TRUE(PaintArticles(state, lastPainted, 4, data, measurer, kClient).thumbToZero);
    EXPECT_EQ(state.scrollPosition, 0);
    EXPECT_EQ(lastPainted, 4);
}

TEST(ArticleLayout, NegativeIndexDrawsNothingAndKeepsTheRange) {
    FixedMeasurer measurer;
    auto issues = OneIssue({{"title"}});
    ArticleViewState state;
    state.scrollMaximum = 77;
    state.lineStep = 9;
    int lastPainted = 0;
    PaintResult paint = PaintArticles(state, lastPainted, -1, ArticleData{&issues, nullptr}, measurer, kClient);
    EXPECT_TRUE(paint.thumbToZero);
    EXPECT_FALSE(paint.rangeSet);
    EXPECT_TRUE(paint.lines.empty());
    EXPECT_EQ(state.scrollMaximum, 77);
    EXPECT_EQ(state.lineStep, 9);
    EXPECT_EQ(CornersOf(issues[0].articles[0].hitRect), (Corners{0, 0, 0, 0}));  // nothing laid out
}

}  // namespace
