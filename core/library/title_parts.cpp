// SPDX-License-Identifier: GPL-3.0-or-later
// Splitting an entry's title into its title proper and annotation.
#include "core/library/title_parts.h"

TitleParts SplitTitle(std::string_view title) {
    TitleParts parts;
    std::size_t p = title.find("\r\n");
    parts.titleProper = title.substr(0, p);
    if (p == std::string_view::npos || p == 0) return parts;
    parts.hasAnnotation = true;
    for (char c : title.substr(p))
        if (c != '\r' && c != '\n') parts.annotation += c;
    return parts;
}
