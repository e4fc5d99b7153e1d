// SPDX-License-Identifier: GPL-3.0-or-later
// The article view's scroll table, selection with the saved state, and the
// hit-testing of double clicks.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "article_test_measurer.h"
#include "core/view/view_scroll.h"
#include "core/view/view_selection.h"

namespace {

struct ScrollCase {
    const char* name;
    ScrollAction action;
    int position;
    int expected;
};

class ArticleScrollTable : public testing::TestWithParam<ScrollCase> {};

// Line step 16, client height 100 (page 84), scroll maximum 500, thumb 900.
TEST_P(ArticleScrollTable, AppliesOnlyTheNamedLimit) {
    const ScrollCase& c = GetParam();
    EXPECT_EQ(ScrolledPosition(c.action, c.position, 900, 16, 100, 500), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ArticleScrollTable,
    testing::Values(ScrollCase{"LineUp", ScrollAction::LineUp, 40, 24},
                    ScrollCase{"LineUpStopsAtZero", ScrollAction::LineUp, 10, 0},
                    ScrollCase{"LineUpHasNoUpperLimit", ScrollAction::LineUp, 900, 884},
                    ScrollCase{"LineDown", ScrollAction::LineDown, 40, 56},
                    ScrollCase{"LineDownStopsAtMaximum", ScrollAction::LineDown, 490, 500},
                    ScrollCase{"LineDownHasNoLowerLimit", ScrollAction::LineDown, -40, -24},
                    ScrollCase{"PageUp", ScrollAction::PageUp, 200, 116},
                    ScrollCase{"PageUpStopsAtZero", ScrollAction::PageUp, 50, 0},
                    ScrollCase{"PageDown", ScrollAction::PageDown, 200, 284},
                    ScrollCase{"PageDownStopsAtMaximum", ScrollAction::PageDown, 450, 500},
                    ScrollCase{"ThumbUnlimited", ScrollAction::Thumb, 0, 900},
                    ScrollCase{"OtherUnchanged", ScrollAction::None, 123, 123},
                    ScrollCase{"OtherKeepsEvenOutOfRange", ScrollAction::None, -7, -7}),
    [](const testing::TestParamInfo<ScrollCase>& info) { return std::string(info.param.name); });

TEST(ArticleScroll, KeysMapToTheScrollBarsRequests) {
    EXPECT_EQ(ScrollActionForKey(NavigationKey::Up), ScrollAction::LineUp);
    EXPECT_EQ(ScrollActionForKey(NavigationKey::Down), ScrollAction::LineDown);
    EXPECT_EQ(ScrollActionForKey(NavigationKey::PageUp), ScrollAction::PageUp);
    EXPECT_EQ(ScrollActionForKey(NavigationKey::PageDown), ScrollAction::PageDown);
    EXPECT_EQ(ScrollActionForKey(NavigationKey::Other), ScrollAction::None);
}

TEST(ArticleScroll, ThumbWithoutLimitThenLimitedLineDown) {
    ArticleViewState state;
    state.scrollMaximum = 68;
    state.lineStep = 16;
    ApplyScroll(state, ScrollAction::Thumb, 300, 200);
    EXPECT_EQ(state.scrollPosition, 300);
    ApplyScroll(state, ScrollAction::LineDown, 0, 200);
    EXPECT_EQ(state.scrollPosition, 68);
    ApplyScroll(state, ScrollAction::PageUp, 0, 200);
    EXPECT_EQ(state.scrollPosition, 0);
}

// One notch (rotation / delta, 120 here) is three line steps of 16 px with
// the limits of line up / line down (maximum 500); a fine-grained wheel's
// small turns add up. Whole notches through the window are tested there.
TEST(ArticleScroll, WheelTurnsAreThreeLineStepsPerNotch) {
    struct Case {
        const char* name;
        int rotation;
        int pendingBefore;
        int position;
        int expected;
        int pendingAfter;
    };
    const Case cases[] = {
        {"notch towards the user scrolls down", -120, 0, 40, 88, 0},
        {"up stops at 0", 120, 0, 20, 0, 0},
        {"down stops at the maximum", -120, 0, 480, 500, 0},
        {"a third of a notch is one line", -40, 0, 0, 16, 0},
        {"less than a line waits", -20, 0, 0, 0, -60},
        {"and adds up with the next turn", -20, -60, 0, 16, 0},
        {"a turn the other way drops the rest", 20, -60, 32, 32, 60},
    };
    for (const Case& c : cases) {
        ArticleViewState state;
        state.lineStep = 16;
        state.scrollMaximum = 500;
        state.scrollPosition = c.position;
        int pending = c.pendingBefore;
        ApplyLineSteps(state, WheelLineSteps(c.rotation, 120, pending), 200);
        EXPECT_EQ(state.scrollPosition, c.expected) << c.name;
        EXPECT_EQ(pending, c.pendingAfter) << c.name;
    }
    int pending = 0;
    EXPECT_EQ(WheelLineSteps(-120, 0, pending), 0);  // no delta, no notch
}

TEST(ArticleScroll, ExtremeValuesDoNotOverflow) {
    EXPECT_EQ(ScrolledPosition(ScrollAction::LineUp, INT_MIN, 0, INT_MAX, 0, 0), 0);
    EXPECT_EQ(ScrolledPosition(ScrollAction::PageDown, INT_MAX, 0, INT_MIN, INT_MAX, INT_MAX), INT_MAX);
}

TEST(ArticleScroll, InvalidationSparesTheScrollBarStrip) {
    EXPECT_EQ(CornersOf(ScrollInvalidation(PixelRect{0, 0, 400, 300})), (Corners{0, 0, 385, 300}));
}

/// An issue of three articles A, B, C laid out 16 px high each at tops 10, 26, 42.
class ArticleSelection : public testing::Test {
protected:
    void SetUp() override {
        issues.resize(1);
        const char* titles[] = {"A", "B", "C"};
        for (int i = 0; i < 3; ++i) {
            issues[0].articles[i].title = titles[i];
            issues[0].articles[i].link = std::string(titles[i]) + ".htm";
        }
        Repaint();
    }
    void Repaint() {
        FixedMeasurer measurer;
        int lastPainted = 0;
        PaintArticles(state, lastPainted, 0, data, measurer, PixelRect{0, 0, 400, 300});
    }
    PressOutcome ClickOn(int entry) { return PressAt(state, 0, data, 20, 10 + 16 * entry + 4, true); }
    std::int32_t& MarkOf(int entry) { return issues[0].articles[entry].mark; }

    std::vector<IssueRecord> issues;
    ArticleData data{&issues, nullptr};
    ArticleViewState state;
};

TEST_F(ArticleSelection, MovingTheSelectionRestoresTheEarlierMark) {
    MarkOf(0) = kMarkFound;
    PressOutcome first = ClickOn(0);
    EXPECT_EQ(first.selectedArticle, 0);
    EXPECT_TRUE(first.invalidate);
    EXPECT_EQ(MarkOf(0), kMarkSelected);
    EXPECT_EQ(state.savedState, kMarkFound);

    EXPECT_EQ(ClickOn(1).selectedArticle, 1);
    EXPECT_EQ(MarkOf(0), kMarkFound);
    EXPECT_EQ(MarkOf(1), kMarkSelected);
    EXPECT_EQ(state.savedState, kMarkPlain);
}

TEST_F(ArticleSelection, SecondClickOnTheSelectedEntryKeepsTheSavedState) {
    MarkOf(0) = kMarkFound;
    ClickOn(0);
    ClickOn(0);
    EXPECT_EQ(state.savedState, kMarkFound);
    ClickOn(2);
    EXPECT_EQ(MarkOf(0), kMarkFound);
    EXPECT_EQ(MarkOf(2), kMarkSelected);
}

TEST_F(ArticleSelection, ClickBesideAllEntriesLeavesNoSelection) {
    MarkOf(1) = kMarkFound;
    ClickOn(1);
    PressOutcome beside = PressAt(state, 0, data, 5, 30, true);  // left of the text column
    EXPECT_FALSE(beside.selectedArticle.has_value());
    EXPECT_TRUE(beside.invalidate);
    EXPECT_EQ(MarkOf(1), kMarkFound);
    EXPECT_EQ(state.savedState, kMarkPlain);
}

TEST_F(ArticleSelection, IgnoredPresses) {
    MarkOf(0) = kMarkSelected;
    state.savedState = kMarkFound;
    // The refresh tick's press carries no button flag.
    PressOutcome tick = PressAt(state, 0, data, 20, 30, false);
    EXPECT_FALSE(tick.invalidate);
    // Nothing shown: nothing changes.
    PressOutcome none = PressAt(state, -1, data, 20, 30, true);
    EXPECT_FALSE(none.invalidate);
    EXPECT_EQ(MarkOf(0), kMarkSelected);
    EXPECT_EQ(MarkOf(1), kMarkPlain);
    EXPECT_EQ(state.savedState, kMarkFound);
}

TEST_F(ArticleSelection, TheEmptyTerminatingEntryIsNeverHit) {
    // The terminating entry sits at top 58 with no height.
    EXPECT_EQ(CornersOf(issues[0].articles[3].hitRect), (Corners{10, 58, 380, 58}));
    EXPECT_FALSE(PressAt(state, 0, data, 20, 58, true).selectedArticle.has_value());
    EXPECT_TRUE(ArticlesToOpen(state, 0, data, 20, 58).empty());
}

TEST_F(ArticleSelection, DoubleClickOpensTheEntryUnderThePoint) {
    ClickOn(1);
    std::vector<OpenRequest> open = ArticlesToOpen(state, 0, data, 100, 30);
    EXPECT_EQ(open, (std::vector<OpenRequest>{{"B.htm", true}}));
    EXPECT_EQ(MarkOf(1), kMarkSelected);  // left alone
    EXPECT_TRUE(ArticlesToOpen(state, 0, data, 385, 30).empty());
    EXPECT_TRUE(ArticlesToOpen(state, -1, data, 100, 30).empty());
    EXPECT_EQ(FirstEntryAt(CurrentEntryRange(true, 0, data), 100, 45), 2);
}

TEST(ArticleFavouritesClicks, OpenWithTheStoredLinkNotRelative) {
    FavoritesStore store;
    store.sections.push_back({"s", {{"Fav", "C:\\j\\izone1\\a.htm", kMarkFound, {}}}});
    ArticleData data{nullptr, &store};
    ArticleViewState state;
    state.issueMode = false;
    FixedMeasurer measurer;
    int lastPainted = 0;
    PaintArticles(state, lastPainted, 0, data, measurer, PixelRect{0, 0, 400, 300});
    EXPECT_EQ(ArticlesToOpen(state, 0, data, 20, 12), (std::vector<OpenRequest>{{"C:\\j\\izone1\\a.htm", false}}));
    EXPECT_EQ(PressAt(state, 0, data, 20, 12, true).selectedArticle, 0);
    EXPECT_EQ(state.savedState, kMarkFound);
}

}  // namespace
