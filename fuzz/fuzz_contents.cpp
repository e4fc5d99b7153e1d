// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes as a table-of-contents page.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/library/contents_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    IssueRecord issue;
    ParseContentsPage(std::string_view(reinterpret_cast<const char*>(data), size), issue);
    for (const ArticleEntry& entry : issue.articles) {
        // A title is the five-blank indent and a non-empty cleaned text.
        if (!entry.title.empty() && (entry.title.size() < 6 || entry.title.compare(0, 5, "     ") != 0))
            __builtin_trap();
    }
    return 0;
}
