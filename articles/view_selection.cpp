// SPDX-License-Identifier: GPL-3.0-or-later
// Selection with the saved state, and hit-testing for opening.
#include "articles/view_selection.h"

PressOutcome PressAt(ArticleViewState& state, int currentIndex, const ArticleData& data, int x, int y,
                     bool anyButtonFlag) {
    PressOutcome outcome;
    if (!anyButtonFlag) return outcome;
    EntryRange range = CurrentEntryRange(state.issueMode, currentIndex, data);
    if (!range.shown) return outcome;

    std::optional<std::int32_t> hitMark;
    for (std::size_t i = 0; i < range.entries.size(); ++i) {
        const EntryRef& entry = range.entries[i];
        if (entry.hitRect->Contains(x, y)) {
            hitMark = entry.Mark();
            entry.SetMark(kMarkSelected);
            outcome.selectedArticle = static_cast<int>(i);
        } else if (entry.Mark() == kMarkSelected) {
            entry.SetMark(state.savedState);
        }
    }
    if (!hitMark) state.savedState = kMarkPlain;
    else if (*hitMark != kMarkSelected) state.savedState = *hitMark;
    outcome.invalidate = true;
    return outcome;
}

std::vector<OpenRequest> ArticlesToOpen(const ArticleViewState& state, int currentIndex, const ArticleData& data,
                                        int x, int y) {
    std::vector<OpenRequest> requests;
    EntryRange range = CurrentEntryRange(state.issueMode, currentIndex, data);
    for (const EntryRef& entry : range.entries)
        if (entry.hitRect->Contains(x, y)) requests.push_back(OpenRequest{*entry.link, state.issueMode});
    return requests;
}

std::optional<int> FirstEntryAt(const EntryRange& range, int x, int y) {
    for (std::size_t i = 0; i < range.entries.size(); ++i)
        if (range.entries[i].hitRect->Contains(x, y)) return static_cast<int>(i);
    return std::nullopt;
}
