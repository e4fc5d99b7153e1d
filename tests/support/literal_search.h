// SPDX-License-Identifier: GPL-3.0-or-later
// The search's rules transcribed literally, one step at a time, as the
// reference that the fast tag filter and matcher are checked against (by the
// unit tests on random files and by the fuzz target).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/text1251.h"

/// One line through the tag filter, deleting one tag at a time.
inline void LiteralFilter(std::string line, bool& inTag, std::vector<std::string>& pieces)
{
    const bool hasLt = line.find('<') != std::string::npos;
    if (hasLt)
        inTag = true;
    if (line.find('>') != std::string::npos)
        inTag = false;
    if (!hasLt) {
        const std::size_t gt = line.find('>');
        if (gt != std::string::npos) {
            line.erase(0, gt + 1);
            if (!line.empty())
                pieces.push_back(line);
        } else if (!line.empty() && !inTag) {
            pieces.push_back(line);
        }
        return;
    }
    for (std::size_t m; (m = line.find('<')) != std::string::npos;) {
        inTag = true;
        const std::size_t o = line.find('>', m);
        if (o != std::string::npos) {
            line.erase(m, o - m + 1);
            inTag = false;
        } else {
            line.erase(m);
        }
        if (line.empty())
            return;
        if (line.find_first_of("<>") == std::string::npos && !inTag)
            pieces.push_back(line);
    }
}

/// Whether `text` matches the query: lower-cased unless case matters, the
/// first occurrence only, and with whole words a byte from 0x30 up on either
/// side of it makes it part of a longer word.
inline bool LiteralMatch(std::string text, std::string query, bool matchCase, bool wholeWord)
{
    if (!matchCase) {
        text = platform::text::Lower1251(text);
        query = platform::text::Lower1251(query);
    }
    const std::size_t at = text.find(query);
    if (at == std::string::npos)
        return false;
    if (!wholeWord)
        return true;
    const auto wordByte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]) >= 0x30; };
    if (at > 0 && wordByte(at - 1))
        return false;
    const std::size_t after = at + query.size();
    return !(after < text.size() && wordByte(after));
}
