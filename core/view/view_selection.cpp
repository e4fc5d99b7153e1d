// SPDX-License-Identifier: GPL-3.0-or-later
// Selection with the saved state, the keyboard cursor's moves, and
// hit-testing for opening.
#include "core/view/view_selection.h"

namespace {

/// Selects every entry for which `hit(i)` holds and returns the others that
/// were selected to the saved state, as one press does.
template <class Hit>
PressOutcome SelectWhere(ArticleViewState& state, int currentIndex, const EntryRange& range, Hit hit) {
    PressOutcome outcome;
    std::optional<std::int32_t> hitMark;
    for (std::size_t i = 0; i < range.entries.size(); ++i) {
        const EntryRef& entry = range.entries[i];
        if (hit(static_cast<int>(i))) {
            hitMark = entry.Mark();
            entry.SetMark(kMarkSelected);
            outcome.selectedArticle = static_cast<int>(i);
        } else if (entry.Mark() == kMarkSelected) {
            entry.SetMark(state.savedState);
        }
    }
    if (!hitMark) state.savedState = kMarkPlain;
    else if (*hitMark != kMarkSelected) state.savedState = *hitMark;
    state.cursorEntry = outcome.selectedArticle.value_or(-1);
    state.cursorIndex = currentIndex;
    state.cursorIssueMode = state.issueMode;
    outcome.invalidate = true;
    return outcome;
}

/// The terminating entry of an issue may carry a link of a free slot: it is
/// still no article.
bool IsArticle(const EntryRef& entry, bool issueMode) {
    return !entry.title->empty() && (!issueMode || !entry.link->empty());
}

}  // namespace

PressOutcome PressAt(ArticleViewState& state, int currentIndex, const ArticleData& data, int x, int y,
                     bool anyButtonFlag) {
    if (!anyButtonFlag) return {};
    EntryRange range = CurrentEntryRange(state.issueMode, currentIndex, data);
    if (!range.shown) return {};
    return SelectWhere(state, currentIndex, range, [&](int i) { return range.entries[i].hitRect->Contains(x, y); });
}

PressOutcome SelectPosition(ArticleViewState& state, int currentIndex, const ArticleData& data, int position) {
    EntryRange range = CurrentEntryRange(state.issueMode, currentIndex, data);
    if (!range.shown || position < 0 || position >= static_cast<int>(range.entries.size())) return {};
    return SelectWhere(state, currentIndex, range, [&](int i) { return i == position; });
}

std::optional<int> CursorOf(const ArticleViewState& state, int currentIndex, const EntryRange& range) {
    if (!range.shown || state.cursorIndex != currentIndex || state.cursorIssueMode != state.issueMode ||
        state.cursorEntry < 0 || state.cursorEntry >= static_cast<int>(range.entries.size()))
        return std::nullopt;
    // Marks cleared by a page or a search take the selection, and so the cursor, with them.
    if (range.entries[static_cast<std::size_t>(state.cursorEntry)].Mark() != kMarkSelected) return std::nullopt;
    return state.cursorEntry;
}

std::optional<int> MoveCursor(const EntryRange& range, bool issueMode, std::optional<int> from, CursorMove move) {
    const int count = static_cast<int>(range.entries.size());
    const bool found = move == CursorMove::NextFound || move == CursorMove::PreviousFound;
    const auto stop = [&](int i) {
        const EntryRef& entry = range.entries[static_cast<std::size_t>(i)];
        return IsArticle(entry, issueMode) && (!found || entry.Mark() == kMarkFound);
    };
    const int at = from.value_or(-1);
    const bool anchored = at >= 0 && at < count && move != CursorMove::First && move != CursorMove::Last;
    const bool forward = move == CursorMove::Next || move == CursorMove::NextFound || move == CursorMove::First;
    int i = forward ? 0 : count - 1;
    if (anchored) i = forward ? at + 1 : at - 1;
    for (; i >= 0 && i < count; i += forward ? 1 : -1)
        if (stop(i)) return i;
    return std::nullopt;
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
