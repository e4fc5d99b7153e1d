// SPDX-License-Identifier: GPL-3.0-or-later
// Windows-1251 <-> Unicode, UTF-8 coding and the code page's case table.
#include "platform/text1251.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace platform::text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Bytes 0x80-0xBF are the irregular half of the code page; 0xC0-0xFF are
// U+0410-U+044F in order and are computed.
constexpr std::array<char32_t, 64> kHighTable = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88-8F
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    kReplacement, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98-9F
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0-A7
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8-AF
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0-B7
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8-BF
};

char32_t CodePointOf(unsigned char c)
{
    if (c < 0x80)
        return c;
    if (c >= 0xC0)
        return 0x0410 + (c - 0xC0);
    return kHighTable[c - 0x80];
}

std::optional<unsigned char> ByteOf(char32_t cp)
{
    if (cp < 0x80)
        return static_cast<unsigned char>(cp);
    if (cp >= 0x0410 && cp <= 0x044F)
        return static_cast<unsigned char>(0xC0 + (cp - 0x0410));
    if (cp == kReplacement)
        return std::nullopt;  // stands for the unassigned 0x98, not for itself
    for (std::size_t i = 0; i < kHighTable.size(); ++i)
        if (kHighTable[i] == cp)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

struct Decoded {
    char32_t cp;
    std::size_t length;
};

// One well-formed UTF-8 sequence at `pos` (no overlong forms, no surrogates,
// nothing above U+10FFFF); nothing when the bytes there are not one.
std::optional<Decoded> DecodeUtf8At(std::string_view s, std::size_t pos)
{
    const auto lead = static_cast<unsigned char>(s[pos]);
    if (lead < 0x80)
        return Decoded{lead, 1};
    std::size_t length;
    char32_t cp;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (pos + length > s.size())
        return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(s[pos + i]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return std::nullopt;
    return Decoded{cp, length};
}

// Index = byte; value = its case partner or the byte itself.
struct CaseTables {
    std::array<unsigned char, 256> lower{};
    std::array<unsigned char, 256> upper{};
};

constexpr CaseTables MakeCaseTables()
{
    CaseTables t;
    for (int i = 0; i < 256; ++i)
        t.lower[i] = t.upper[i] = static_cast<unsigned char>(i);
    auto pair = [&t](int upperByte, int lowerByte) {
        t.lower[upperByte] = static_cast<unsigned char>(lowerByte);
        t.upper[lowerByte] = static_cast<unsigned char>(upperByte);
    };
    for (int c = 'A'; c <= 'Z'; ++c)
        pair(c, c + 0x20);
    for (int c = 0xC0; c <= 0xDF; ++c)  // А-Я / а-я
        pair(c, c + 0x20);
    pair(0xA8, 0xB8);  // Ё ё
    pair(0x80, 0x90);  // Ђ ђ
    pair(0x81, 0x83);  // Ѓ ѓ
    pair(0x8A, 0x9A);  // Љ љ
    pair(0x8C, 0x9C);  // Њ њ
    pair(0x8D, 0x9D);  // Ќ ќ
    pair(0x8E, 0x9E);  // Ћ ћ
    pair(0x8F, 0x9F);  // Џ џ
    pair(0xA1, 0xA2);  // Ў ў
    pair(0xA3, 0xBC);  // Ј ј
    pair(0xA5, 0xB4);  // Ґ ґ
    pair(0xAA, 0xBA);  // Є є
    pair(0xAF, 0xBF);  // Ї ї
    pair(0xB2, 0xB3);  // І і
    pair(0xBD, 0xBE);  // Ѕ ѕ
    return t;
}

constexpr CaseTables kCase = MakeCaseTables();

}  // namespace

std::string Utf8From1251(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes)
        AppendUtf8(out, CodePointOf(static_cast<unsigned char>(c)));
    return out;
}

std::string To1251FromUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto decoded = DecodeUtf8At(utf8, pos);
        if (!decoded) {
            out += utf8[pos++];
            continue;
        }
        const auto byte = ByteOf(decoded->cp);
        out += byte ? static_cast<char>(*byte) : '?';
        pos += decoded->length;
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes)
{
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto decoded = DecodeUtf8At(bytes, pos);
        if (!decoded)
            return false;
        pos += decoded->length;
    }
    return true;
}

std::vector<std::string> CharactersOutside1251(std::string_view utf8)
{
    std::vector<std::string> misfits;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto decoded = DecodeUtf8At(utf8, pos);
        const std::size_t length = decoded ? decoded->length : 1;
        if (!decoded || !ByteOf(decoded->cp)) {
            std::string character(utf8.substr(pos, length));
            if (std::find(misfits.begin(), misfits.end(), character) == misfits.end())
                misfits.push_back(std::move(character));
        }
        pos += length;
    }
    return misfits;
}

unsigned char ToLower1251(unsigned char c)
{
    return kCase.lower[c];
}

unsigned char ToUpper1251(unsigned char c)
{
    return kCase.upper[c];
}

std::string Lower1251(std::string_view bytes)
{
    std::string out(bytes);
    for (char& c : out)
        c = static_cast<char>(ToLower1251(static_cast<unsigned char>(c)));
    return out;
}

std::string LowerAscii(std::string_view bytes)
{
    std::string out(bytes);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    return out;
}

}  // namespace platform::text
