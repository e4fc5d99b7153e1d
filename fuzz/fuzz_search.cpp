// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the tag filter and the matcher against their rules written out
// literally. The first byte holds the options, the bytes up to the first zero
// byte the query, the rest an article file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/search/search_engine.h"
#include "support/literal_search.h"

namespace {

/// The file's lines as the filter sees them: "\n" ends a line, a "\r" right
/// before it belongs to the ending, and text after the last "\n" is a line.
std::vector<std::string> LinesOf(std::string_view bytes)
{
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const std::size_t nl = bytes.find('\n');
        std::string line(bytes.substr(0, nl));
        if (nl != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        bytes.remove_prefix(nl == std::string_view::npos ? bytes.size() : nl + 1);
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const bool matchCase = data[0] & 1;
    const bool wholeWord = data[0] & 2;
    const bool startInTag = data[0] & 4;
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t zero = rest.find('\0');
    if (zero == 0 || zero == std::string_view::npos)
        return 0;
    const std::string query(rest.substr(0, zero));
    const std::string_view file = rest.substr(zero + 1);

    TagFilter filter;
    filter.inTag = startInTag;
    std::vector<std::string> fast;
    filter.Lines(file, [&](std::string_view piece) { fast.emplace_back(piece); });

    bool inTag = startInTag;
    std::vector<std::string> literal;
    for (const std::string& line : LinesOf(file))
        LiteralFilter(line, inTag, literal);
    if (fast != literal || filter.inTag != inTag)
        __builtin_trap();

    const SearchQuery searchQuery(query, matchCase, wholeWord);
    IssueRecord issue;
    for (const std::string& piece : literal) {
        const bool matched = MatchText(piece, searchQuery, issue, 0);
        if (matched != LiteralMatch(piece, query, matchCase, wholeWord))
            __builtin_trap();
    }
    return 0;
}
