// SPDX-License-Identifier: GPL-3.0-or-later
// Code page 1251: the byte table, UTF-8 coding and the case table.
#include "platform/text1251.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>

using namespace platform::text;

namespace {

// Decodes well-formed UTF-8 holding exactly one code point.
char32_t SingleCodePoint(const std::string& utf8)
{
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
    switch (utf8.size()) {
    case 1: return b(0);
    case 2: return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    case 3: return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    default: ADD_FAILURE() << "unexpected length " << utf8.size(); return 0;
    }
}

// Unicode's simple case mapping for ASCII and the Cyrillic block, written from
// the Unicode tables independently of the code page.
char32_t UnicodeLower(char32_t cp)
{
    if (cp >= 'A' && cp <= 'Z')
        return cp + 0x20;
    if (cp >= 0x0400 && cp <= 0x040F)
        return cp + 0x50;
    if (cp >= 0x0410 && cp <= 0x042F)
        return cp + 0x20;
    if (cp == 0x0490)
        return 0x0491;
    return cp;
}

char32_t UnicodeUpper(char32_t cp)
{
    if (cp >= 'a' && cp <= 'z')
        return cp - 0x20;
    if (cp >= 0x0450 && cp <= 0x045F)
        return cp - 0x50;
    if (cp >= 0x0430 && cp <= 0x044F)
        return cp - 0x20;
    if (cp == 0x0491)
        return 0x0490;
    return cp;
}

std::optional<unsigned char> EncodeOne(char32_t cp)
{
    for (int b = 0; b < 256; ++b)
        if (b != 0x98 && SingleCodePoint(Utf8From1251(std::string(1, static_cast<char>(b)))) == cp)
            return static_cast<unsigned char>(b);
    return std::nullopt;
}

std::string Byte(int b)
{
    return std::string(1, static_cast<char>(b));
}

}  // namespace

TEST(PlatformText1251, DecodingAgreesWithTheSystemConverter)
{
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1)) << "the system has no CP1251 converter";
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98)
            continue;
        char in = static_cast<char>(b);
        char out[8] = {};
        char* inp = &in;
        char* outp = out;
        std::size_t inLeft = 1, outLeft = sizeof out;
        ASSERT_NE(iconv(cd, &inp, &inLeft, &outp, &outLeft), static_cast<std::size_t>(-1)) << b;
        EXPECT_EQ(Utf8From1251(Byte(b)), std::string(out, outp)) << "byte " << b;
    }
    iconv_close(cd);
}

TEST(PlatformText1251, UnassignedByteDecodesToReplacementAndBackToQuestionMark)
{
    EXPECT_EQ(Utf8From1251("\x98"), "\xEF\xBF\xBD");
    EXPECT_EQ(To1251FromUtf8("\xEF\xBF\xBD"), "?");
}

TEST(PlatformText1251, EveryAssignedByteRoundTrips)
{
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98)
            continue;
        const std::string utf8 = Utf8From1251(Byte(b));
        EXPECT_TRUE(IsValidUtf8(utf8)) << b;
        EXPECT_EQ(To1251FromUtf8(utf8), Byte(b)) << "byte " << b;
    }
}

TEST(PlatformText1251, Utf8To1251Cases)
{
    struct Case {
        const char* utf8;
        std::string expected;
    };
    const Case cases[] = {
        {"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", "\xCF\xF0\xE8\xE2\xE5\xF2"},  // Привет
        {"\xE2\x84\x96 5", "\xB9 5"},                                                   // № 5
        {"\xE4\xB8\xAD", "?"},                  // a character the code page lacks
        {"\xF0\x9F\x98\x80!", "?!"},            // four-byte sequence
        {"a\xCF\xF0z", "a\xCF\xF0z"},           // invalid bytes stay as they are
        {"\xC0\xAF", "\xC0\xAF"},               // overlong "/" is not decoded
        {"\xED\xA0\x80", "\xED\xA0\x80"},       // surrogate
        {"\xD0", "\xD0"},                       // truncated sequence at the end
    };
    for (const Case& c : cases)
        EXPECT_EQ(To1251FromUtf8(c.utf8), c.expected) << c.utf8;
}

TEST(PlatformText1251, Utf8Validity)
{
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("\xD0\x81\xF4\x8F\xBF\xBF"));
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));      // overlong
    EXPECT_FALSE(IsValidUtf8("\xCF\xF0"));          // 1251 bytes
    EXPECT_FALSE(IsValidUtf8("\x80"));
    EXPECT_FALSE(IsValidUtf8("\xFF"));
}

TEST(PlatformText1251, CaseTableFollowsUnicodeForEveryByte)
{
    for (int b = 0; b < 256; ++b) {
        const auto c = static_cast<unsigned char>(b);
        const char32_t cp = SingleCodePoint(Utf8From1251(Byte(b)));
        const auto lower = EncodeOne(UnicodeLower(cp));
        const auto upper = EncodeOne(UnicodeUpper(cp));
        EXPECT_EQ(ToLower1251(c), lower.value_or(c)) << "lower of byte " << b;
        EXPECT_EQ(ToUpper1251(c), upper.value_or(c)) << "upper of byte " << b;
    }
}

TEST(PlatformText1251, CyrillicLettersAllHavePartners)
{
    // Every letter of the Cyrillic block that the code page holds changes case.
    int pairs = 0;
    for (int b = 0x80; b < 256; ++b) {
        const char32_t cp = SingleCodePoint(Utf8From1251(Byte(b)));
        const bool cyrillic = (cp >= 0x0400 && cp <= 0x045F) || cp == 0x0490 || cp == 0x0491;
        if (!cyrillic)
            continue;
        const auto c = static_cast<unsigned char>(b);
        EXPECT_NE(ToLower1251(c) == c ? ToUpper1251(c) : ToLower1251(c), c) << b;
        pairs += ToLower1251(c) != c;
    }
    EXPECT_EQ(pairs, 32 + 15);
}

TEST(PlatformText1251, LowerStrings)
{
    EXPECT_EQ(Lower1251("IZone57 \xC0\xDF\xA8\xAA\xA5"), "izone57 \xE0\xFF\xB8\xBA\xB4");
    EXPECT_EQ(LowerAscii("IZone57 \xC0\xDF\xA8"), "izone57 \xC0\xDF\xA8");
    EXPECT_EQ(Lower1251(std::string("A\0B", 3)), std::string("a\0b", 3));
}

// A stored text must never turn into "?": the characters refused are named.
TEST(PlatformText1251, CharactersOutsideTheCodePageAreNamedOnce)
{
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"жизнь №5 € «»", {}}, {"жő日€", {"ő", "日"}}, {"ő-ő-日", {"ő", "日"}}, {"😀x", {"😀"}}, {"\xFF", {"\xFF"}},
    };
    for (const auto& [text, misfits] : cases)
        EXPECT_EQ(platform::text::CharactersOutside1251(text), misfits) << text;
}
