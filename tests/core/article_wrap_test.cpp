// SPDX-License-Identifier: GPL-3.0-or-later
// Word wrapping and font requests of the article view.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "article_test_measurer.h"
#include "core/view/font_request.h"
#include "core/view/text_wrap.h"

namespace {

using Lines = std::vector<std::string>;

struct WrapCase {
    const char* name;
    std::string text;
    int width;
    Lines lines;
};

class ArticleWrapTest : public testing::TestWithParam<WrapCase> {};

TEST_P(ArticleWrapTest, BreaksLikeWordBrokenDrawing) {
    FixedMeasurer measurer;  // 8 px a character
    WrappedText wrapped = WrapText(measurer, GetParam().text, GetParam().width);
    EXPECT_EQ(wrapped.lines, GetParam().lines);
    EXPECT_EQ(wrapped.height, 16 * static_cast<int>(GetParam().lines.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArticleWrapTest,
    testing::Values(
        WrapCase{"Empty", "", 80, {}},
        WrapCase{"FitsOnOneLine", "aaaa bbbb", 80, {"aaaa bbbb"}},
        WrapCase{"ExactWidthFits", "aaaa bbbbb", 80, {"aaaa bbbbb"}},
        WrapCase{"BreaksAtBlank", "aaaa bbbb cccc", 80, {"aaaa bbbb", "cccc"}},
        WrapCase{"BlanksAtBreakDropped", "aaaa    bbbbbbb  c", 80, {"aaaa", "bbbbbbb  c"}},
        WrapCase{"LeadingBlanksKept", "     abc def", 80, {"     abc", "def"}},
        WrapCase{"LongWordOwnLine", "aa bbbbbbbbbbbbbbb cc", 80, {"aa", "bbbbbbbbbbbbbbb", "cc"}},
        WrapCase{"LongFirstWord", "bbbbbbbbbbbbbbb cc", 80, {"bbbbbbbbbbbbbbb", "cc"}},
        WrapCase{"TrailingBlanksIgnored", "aaaa bbbb     ", 80, {"aaaa bbbb"}},
        WrapCase{"HardBreaks", "a\rb\nc\r\n\r\nd", 80, {"a", "b", "c", "", "d"}},
        WrapCase{"ZeroWidthOneWordPerLine", "ab cd", 0, {"ab", "cd"}}),
    [](const testing::TestParamInfo<WrapCase>& info) { return std::string(info.param.name); });

TEST(ArticleWrap, LeadingSeparatesLinesOnly) {
    FixedMeasurer measurer({8, 16, 2});
    WrappedText wrapped = WrapText(measurer, "aaaa bbbb cccc dddd", 40);
    ASSERT_EQ(wrapped.lines.size(), 4u);
    EXPECT_EQ(wrapped.linePitch, 18);
    EXPECT_EQ(wrapped.height, 4 * 16 + 3 * 2);
    EXPECT_EQ(WrapText(measurer, "one", 40).height, 16);
    EXPECT_EQ(WrapText(measurer, "", 40).height, 0);
}

TEST(ArticleFontRequest, HeightKinds) {
    struct Case { std::int32_t height; FontSizeKind kind; int pixels; };
    const Case cases[] = {
        {-16, FontSizeKind::CharacterHeight, 16}, {16, FontSizeKind::CellHeight, 16},
        {0, FontSizeKind::Default, 0},            {INT_MIN, FontSizeKind::CharacterHeight, kMaxFontPixelHeight},
        {INT_MAX, FontSizeKind::CellHeight, kMaxFontPixelHeight},
    };
    for (const Case& c : cases) {
        LogFont font;
        font.height = c.height;
        FontRequest request = FontRequestFrom(font);
        EXPECT_EQ(request.sizeKind, c.kind) << c.height;
        EXPECT_EQ(request.pixelHeight, c.pixels) << c.height;
    }
}

TEST(ArticleFontRequest, WeightClasses) {
    const std::pair<std::int32_t, int> cases[] = {{0, 400},   {-5, 400},  {100, 100}, {149, 100}, {150, 200},
                                                  {400, 400}, {550, 600}, {700, 700}, {950, 900}, {INT_MAX, 900},
                                                  {1, 100}};
    for (auto [weight, expected] : cases) EXPECT_EQ(WeightClass(weight), expected) << weight;
}

TEST(ArticleFontRequest, DefaultHeadingStyle) {
    // The heading style's default: bold, italic, underlined, 16 px cell.
    FontRequest request = FontRequestFrom(DefaultTextStyles()[kStyleHeading].font);
    EXPECT_EQ(request, (FontRequest{FontSizeKind::CellHeight, 16, 700, true, true, false, "Ms Sans Serif"}));
    LogFont struck;
    struck.strikeOut = 1;
    struck.faceName = "Arial";
    EXPECT_EQ(FontRequestFrom(struck), (FontRequest{FontSizeKind::Default, 0, 400, false, false, true, "Arial"}));
}

TEST(ArticleFontRequest, CharacterHeightForCell) {
    auto cellOf = [](int character) { return character + character / 4; };  // internal leading a quarter
    EXPECT_EQ(CharacterHeightForCell(20, cellOf), 16);
    EXPECT_EQ(CharacterHeightForCell(19, cellOf), 15);
    EXPECT_EQ(CharacterHeightForCell(1, [](int c) { return c + 3; }), 1);
    EXPECT_EQ(CharacterHeightForCell(16, [](int c) { return c; }), 16);
}

TEST(ArticleFontRequest, ColorRefIsBlueGreenRed) {
    EXPECT_EQ(RgbOf(0x00C40000), (Rgb{0, 0, 0xC4}));
    EXPECT_EQ(RgbOf(0x000000C4), (Rgb{0xC4, 0, 0}));
    EXPECT_EQ(RgbOf(0x00123456), (Rgb{0x56, 0x34, 0x12}));
}

}  // namespace
