// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader is told about the article view: the list's name and
// one item per shown entry, in the words a sighted reader sees.
#pragma once

#include <string>
#include <vector>

#include "core/view/article_layout.h"

/// One drawn entry as spoken (code page 1251).
struct SpokenEntry {
    std::string name;         ///< the title proper without its leading blanks
    std::string description;  ///< the annotation, empty without one
    bool heading = false;     ///< a section heading of an issue: not an article
    bool selected = false;
    HitRect place;  ///< where the last paint drew its title, client coordinates
    bool operator==(const SpokenEntry&) const = default;
};

struct SpokenEntries {
    std::string name;  ///< the shown issue's caption or the section's name
    std::vector<SpokenEntry> entries;
    bool operator==(const SpokenEntries&) const = default;
};

/// The entries the view draws for the current index; an entry with an empty
/// title draws nothing and is left out. Nothing when the index names nothing.
SpokenEntries DescribeShownEntries(bool issueMode, int currentIndex, const ArticleData& data);
