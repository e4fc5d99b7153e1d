// SPDX-License-Identifier: GPL-3.0-or-later
// An entry's title as the contents pages give it: the title proper, then
// after one CR LF an annotation. The view and the favourites export both
// read titles this way.
#pragma once

#include <string>
#include <string_view>

struct TitleParts {
    std::string_view titleProper;  ///< the text before the first CR LF
    bool hasAnnotation = false;
    std::string annotation;        ///< the rest, every CR and LF removed
};

/// A title beginning with CR LF has an empty title proper and no annotation.
TitleParts SplitTitle(std::string_view title);
