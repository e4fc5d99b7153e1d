// SPDX-License-Identifier: GPL-3.0-or-later
// The fast title cleaning (stretches copied whole, spaces tested eight bytes
// at a time) against the four cleaning steps done one after another on the
// text, on many random texts: long and short, runs of spaces across the
// eight-byte steps, references before, inside and after them, and "&"
// without a later ";".
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/library/contents_parser.h"

namespace {

std::string PlainClean(std::string text)
{
    if (text.find_first_of(" \t&") == std::string::npos)
        return text;
    const std::size_t lead = text.find_first_not_of(" \t");
    text.erase(0, lead == std::string::npos ? text.size() : lead);
    for (std::size_t pair; (pair = text.find("  ")) != std::string::npos;)
        text.erase(pair, 1);
    for (;;) {
        const std::size_t amp = text.find('&');
        if (amp == std::string::npos)
            break;
        const std::size_t semi = text.find(';', amp);
        if (semi == std::string::npos)
            break;
        text.erase(amp, semi - amp + 1);
    }
    return text;
}

std::string RandomText(std::mt19937& random)
{
    static const char* const pieces[] = {" ", "  ", "     ", "\t", "&", ";", "&nbsp;", "& x  y;", "word",
                                         "\xCD\xE0\xE7\xE0\xE4", "abcdefghijk", " &amp; ", "x", "\x01", "\xFF"};
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    const std::size_t count = random() % 30;
    std::string text;
    for (std::size_t k = 0; k < count; ++k)
        text += pieces[piece(random)];
    return text;
}

TEST(PerfCleanTitle, MatchesTheStepsDoneOneAfterAnother)
{
    std::mt19937 random(1251);
    for (int round = 0; round < 20000; ++round) {
        const std::string original = RandomText(random);
        std::string cleaned = original;
        CleanTitle(cleaned);
        ASSERT_EQ(cleaned, PlainClean(original)) << "text [" << original << "]";
    }
}

TEST(PerfCleanTitle, SpaceRunsAtEveryOffsetOfALongText)
{
    // A run of two or three spaces at each position of a text longer than
    // several eight-byte steps.
    for (std::size_t width = 2; width <= 3; ++width) {
        for (std::size_t at = 0; at < 40; ++at) {
            std::string text(40, 'a');
            text.insert(at, std::string(width, ' '));
            std::string cleaned = text;
            CleanTitle(cleaned);
            ASSERT_EQ(cleaned, PlainClean(text)) << "run of " << width << " at " << at;
        }
    }
}

}  // namespace
