// SPDX-License-Identifier: GPL-3.0-or-later
// The article view's entries in the form a screen reader speaks them.
#include "core/view/spoken_entries.h"

namespace {

/// As the layout, a screen reader gets no more of one title than this: a
/// damaged file's megabyte title costs no more than a real one.
constexpr std::size_t kMaxSpokenTitle = 16 * 1024;

std::string ShownName(bool issueMode, int currentIndex, const ArticleData& data) {
    if (issueMode) return (*data.issues)[static_cast<std::size_t>(currentIndex)].caption;
    return data.favorites->sections[static_cast<std::size_t>(currentIndex)].name;
}

}  // namespace

SpokenEntries DescribeShownEntries(bool issueMode, int currentIndex, const ArticleData& data) {
    SpokenEntries spoken;
    const EntryRange range = CurrentEntryRange(issueMode, currentIndex, data);
    if (!range.shown) return spoken;
    spoken.name = ShownName(issueMode, currentIndex, data);
    for (const EntryRef& entry : range.entries) {
        if (entry.title->empty()) continue;
        const TitleParts parts = SplitTitle(std::string_view(*entry.title).substr(0, kMaxSpokenTitle));
        const std::size_t start = parts.titleProper.find_first_not_of(' ');
        SpokenEntry item;
        if (start != std::string_view::npos) item.name = std::string(parts.titleProper.substr(start));
        item.description = parts.annotation;
        item.heading = issueMode && entry.link->empty();
        item.selected = entry.Mark() == kMarkSelected;
        item.place = *entry.hitRect;
        spoken.entries.push_back(std::move(item));
    }
    return spoken;
}
