// SPDX-License-Identifier: GPL-3.0-or-later
// Settings values: layouts, defaults and the rules for values that are
// missing, partial or damaged.
#include <gtest/gtest.h>

#include "core/session/command_rules.h"
#include "core/settings/placement.h"
#include "core/settings/settings_store.h"
#include "platform/registry.h"
#include "support/failing_save_calls.h"
#include "support/settings_values.h"
#include "support/temp_dir.h"

namespace reg = platform::registry;
using namespace std::string_literals;


TEST(ToMultiString, TurnsCrLfItemsIntoZeroTerminatedStrings)
{
    EXPECT_EQ(ToMultiString("abc\r\nde\r\n"), "abc\0de\0\0\0"s);
    // The last item without its CR LF still ends with the two zero bytes.
    EXPECT_EQ(ToMultiString("abc\r\nde"), "abc\0de\0\0"s);
    // A tab is dropped, a blank and bytes above 127 stay.
    EXPECT_EQ(ToMultiString("a\tb c\xC0\x7F\r\n"), "ab c\xC0\0\0\0"s);
    EXPECT_EQ(ToMultiString(""), "\0\0"s);
}

TEST(MultiStringItems, ReadsByPositionAndPadsWithEmptyStrings)
{
    const auto items = MultiStringItems("a\0\0b\0\0\0"s, 5);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0], "a");
    EXPECT_EQ(items[1], "");
    EXPECT_EQ(items[2], "b");
    EXPECT_EQ(items[4], "");
    // Without a final zero the last string runs to the end of the data.
    EXPECT_EQ(MultiStringItems("xy"s, 2)[0], "xy");
}

TEST(FontRecord, HasTheLogFontLayoutFollowedByTheColour)
{
    TextStyle style = DefaultTextStyles()[kStyleHeading];
    const std::string record = EncodeFontRecord(style);
    ASSERT_EQ(record.size(), 32u);
    EXPECT_EQ(record.substr(0, 4), "\x10\0\0\0"s);     // height 16
    EXPECT_EQ(record.substr(16, 4), "\xBC\x02\0\0"s);  // weight 700
    EXPECT_EQ(record.substr(20, 8), "\x01\x01\x00\xCC\x00\x00\x02\x22"s);
    EXPECT_EQ(record.substr(28, 4), "\0\0\xC4\0"s);  // 0x00C40000, blue

    TextStyle back;
    back.font.faceName = style.font.faceName;
    DecodeFontRecord(record, back);
    EXPECT_EQ(back, style);

    style.font.height = -13;
    DecodeFontRecord(EncodeFontRecord(style), back);
    EXPECT_EQ(back.font.height, -13);
}

TEST(SettingsStyles, FirstStartGivesTheDefaults)
{
    PrivateProfile profile;
    const TextStyles styles = settings::LoadTextStyles();
    EXPECT_EQ(styles, DefaultTextStyles());
    EXPECT_EQ(styles[kStylePlainTitle].color, 0x00C40000u);
    EXPECT_EQ(styles[kStyleSelectedTitle].color, 0x0000C400u);
    EXPECT_EQ(styles[kStyleFoundTitle].color, 0x000000C4u);
    EXPECT_EQ(styles[kStyleAnnotation].font.weight, 400);
    EXPECT_EQ(styles[kStyleHeading].font.italic, 1);
    EXPECT_EQ(styles[kStyleHeading].font.faceName, "Ms Sans Serif");
}

TEST(SettingsStyles, NamesWithoutRecordsKeepZeroFieldsAndTheirColour)
{
    PrivateProfile profile;
    ASSERT_TRUE(StoreSetting("NameFont", reg::ValueType::MultiSz, ToMultiString("Arial\r\nTimes\r\n")));
    TextStyle record = DefaultTextStyles()[0];
    record.font.height = -20;
    record.color = 0x00123456;
    ASSERT_TRUE(StoreSetting("LogFont_1", reg::ValueType::Binary, EncodeFontRecord(record)));

    const TextStyles styles = settings::LoadTextStyles();
    EXPECT_EQ(styles[0].font.faceName, "Arial");
    EXPECT_EQ(styles[0].font.height, -20);
    EXPECT_EQ(styles[0].color, 0x00123456u);
    EXPECT_EQ(styles[1].font.faceName, "Times");
    EXPECT_EQ(styles[1].font.height, 0);
    // Only two names: styles 3 to 5 have empty faces.
    EXPECT_EQ(styles[2].font.faceName, "");
    EXPECT_EQ(styles[2].font.weight, 0);
    EXPECT_EQ(styles[2].color, DefaultTextStyles()[2].color);
}

TEST(SettingsStyles, RecordsWithoutNamesAreIgnored)
{
    PrivateProfile profile;
    TextStyle record = DefaultTextStyles()[0];
    record.font.height = -40;
    ASSERT_TRUE(StoreSetting("LogFont_1", reg::ValueType::Binary, EncodeFontRecord(record)));
    EXPECT_EQ(settings::LoadTextStyles(), DefaultTextStyles());
}

TEST(SettingsStyles, OverlongNamesCountAsMissingAndLongFacesAreCut)
{
    PrivateProfile profile;
    ASSERT_TRUE(StoreSetting("NameFont", reg::ValueType::MultiSz, std::string(191, 'x')));
    EXPECT_EQ(settings::LoadTextStyles(), DefaultTextStyles());

    ASSERT_TRUE(StoreSetting("NameFont", reg::ValueType::MultiSz, ToMultiString(std::string(60, 'F') + "\r\n")));
    EXPECT_EQ(settings::LoadTextStyles()[0].font.faceName, std::string(31, 'F'));
}

TEST(SettingsStyles, StoredStylesReadBackEqual)
{
    PrivateProfile profile;
    TextStyles styles = DefaultTextStyles();
    styles[3].font.faceName = "DejaVu Sans";
    styles[3].font.strikeOut = 1;
    styles[4].color = 0x00FF00FF;
    const auto result = settings::StoreTextStyles(styles);
    EXPECT_EQ(result.nameFont, WriteResult::Written);
    EXPECT_EQ(settings::LoadTextStyles(), styles);
    EXPECT_EQ(StoredSetting("NameFont"), "Ms Sans Serif\0Ms Sans Serif\0Ms Sans Serif\0DejaVu Sans\0Ms Sans Serif\0\0\0"s);
}

TEST(SettingsBars, AnyCharacterOtherThanZeroMeansShown)
{
    PrivateProfile profile;
    EXPECT_TRUE(settings::LoadBars().toolBar);
    EXPECT_TRUE(settings::LoadBars().statusBar);

    const std::pair<std::string, BarVisibility> cases[] = {
        {"01", {false, true}}, {"10", {true, false}}, {"00", {false, false}},
        {"x0", {true, false}}, {"0", {false, true}},  {"", {true, true}},
    };
    for (const auto& [stored, expected] : cases) {
        ASSERT_TRUE(StoreSetting("Toolbar", reg::ValueType::Sz, stored));
        const BarVisibility bars = settings::LoadBars();
        EXPECT_EQ(bars.toolBar, expected.toolBar) << stored;
        EXPECT_EQ(bars.statusBar, expected.statusBar) << stored;
    }
    settings::StoreBars({false, true});
    EXPECT_EQ(StoredSetting("Toolbar"), "01");  // two bytes, no terminator
}

TEST(SettingsPlacement, StoredWithoutTerminatorAndReadBack)
{
    PrivateProfile profile;
    EXPECT_FALSE(settings::LoadPlacement());
    EXPECT_EQ(settings::StorePlacement({-4, 30, 800, 600}), WriteResult::Written);
    EXPECT_EQ(StoredSetting("Size"), "-4 30 800 600");
    EXPECT_EQ(settings::LoadPlacement(), (Placement{-4, 30, 800, 600}));
}

TEST(SettingsPlacement, LongOrEmptyValuesGiveTheDefaultPlacement)
{
    PrivateProfile profile;
    ASSERT_TRUE(StoreSetting("Size", reg::ValueType::Sz, "100 100 800 600" + std::string(15, ' ')));  // 30 bytes
    EXPECT_FALSE(settings::LoadPlacement());
    ASSERT_TRUE(StoreSetting("Size", reg::ValueType::Sz, "100 100"));
    EXPECT_FALSE(settings::LoadPlacement());
    ASSERT_TRUE(StoreSetting("Size", reg::ValueType::Sz, "garbage"));
    EXPECT_FALSE(settings::LoadPlacement());
}

TEST(SettingsPlacement, NumbersStartAfterEachBlank)
{
    EXPECT_EQ(settings::ParsePlacement("1 2 3 4"), (Placement{1, 2, 3, 4}));
    // atoi skips the blank after a blank, so a doubled blank repeats a number.
    EXPECT_EQ(settings::ParsePlacement("1  2 3 4"), (Placement{1, 2, 2, 3}));
    EXPECT_EQ(settings::ParsePlacement("10 20x 30 40"), (Placement{10, 20, 30, 40}));
    EXPECT_EQ(settings::ParsePlacement("99999999999 1 1 1").x, INT32_MAX);
}

TEST(SettingsLeftShare, SixDecimalsWithAPointWhateverTheLocale)
{
    PrivateProfile profile;
    EXPECT_DOUBLE_EQ(settings::LoadLeftShare(), 2.0);
    std::setlocale(LC_NUMERIC, "ru_RU.UTF-8");  // where available, a comma locale
    EXPECT_EQ(settings::StoreLeftShare(2.5), WriteResult::Written);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(StoredSetting("LeftShare"), "2.500000");
    EXPECT_DOUBLE_EQ(settings::LoadLeftShare(), 2.5);
    EXPECT_EQ(settings::FormatLeftShare(1.0 / 3.0 * 10), "3.333333");
}

TEST(SettingsLeftShare, RatiosThatCannotSplitTheWindowFallBack)
{
    PrivateProfile profile;
    for (const char* stored : {"0", "0.5", "1", "-3", "nan", "inf", "abc", "", "1e400"}) {
        ASSERT_TRUE(StoreSetting("LeftShare", reg::ValueType::Sz, stored));
        EXPECT_DOUBLE_EQ(settings::LoadLeftShare(), 2.0) << stored;
    }
    ASSERT_TRUE(StoreSetting("LeftShare", reg::ValueType::Sz, " 3.25xyz"));
    EXPECT_DOUBLE_EQ(settings::LoadLeftShare(), 3.25);
}

TEST(SettingsWrites, ReportFailureOnlyWhenTheKeyOpened)
{
    PrivateProfile profile;
    WriteResult result;
    {
        FailingHiveWrites failing;
        result = settings::StorePlacement({0, 0, 10, 10});
    }
    // With a hive that cannot be written, the key cannot be created either.
    EXPECT_NE(result, WriteResult::Written);

    ASSERT_TRUE(reg::CreateKey(kSettingsKey));
    FailingHiveWrites failing;
    EXPECT_EQ(settings::StoreLeftShare(2.0), WriteResult::Failed);
}

TEST(FrameGeometry, PanesAndStoredPlacement)
{
    EXPECT_EQ(LeftPaneWidth(801, 2.0), 400);
    EXPECT_EQ(RightPaneWidth(801, 2.0), 400);
    EXPECT_EQ(LeftPaneWidth(900, 3.0), 300);
    EXPECT_DOUBLE_EQ(LeftShareFor(804, 400), 2.0);
    // A width that wrapped below zero is taken as a huge unsigned number.
    EXPECT_LT(LeftShareFor(800, static_cast<std::uint32_t>(-1)), 1e-6);

    const FrameRect client{10, 20, 810, 620};
    EXPECT_EQ(PlacementToStore(client, true, 28), (Placement{10, 20, 800, 600}));
    EXPECT_EQ(PlacementToStore(client, false, 28), (Placement{10, 20, 800, 628}));

    EXPECT_FALSE(ReadCommandEnabled(false, false, false));
    EXPECT_TRUE(ReadCommandEnabled(false, false, true));
}

TEST(FrameGeometry, ThinStoredLeftPaneDoesNotCollapseTheArticleView)
{
    // The splitter reads 0 as "centre" and a negative position as "from the
    // right": a stored split of 2 pixels or less must still leave the left
    // pane thin.
    const struct {
        int clientWidth;
        double ratio;
        int sash;
    } cases[] = {{804, 2.0, 400}, {800, 200.0, 2}, {800, 400.0, 1}, {800, 800.0, 1}, {300, 1e300, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(SashPositionFor(c.clientWidth, c.ratio), c.sash) << c.clientWidth << " / " << c.ratio;
}

// A window larger than the screen, or standing off it, is brought inside.
TEST(SettingsPlacement, WindowIsFittedIntoTheWorkArea)
{
    const std::pair<FrameRect, FrameRect> cases[] = {
        {{0, 25, 900, 665}, {0, 0, 800, 600}},        {{100, 100, 500, 400}, {100, 100, 500, 400}},
        {{700, 500, 1100, 800}, {400, 300, 800, 600}}, {{-50, -20, 350, 280}, {0, 0, 400, 300}},
    };
    for (const auto& [window, fitted] : cases)
        EXPECT_TRUE(FitIntoArea(window, {0, 0, 800, 600}) == fitted) << window.left << "," << window.top;
}
