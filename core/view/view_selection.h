// SPDX-License-Identifier: GPL-3.0-or-later
// Selection, the keyboard cursor, opening and hit-testing of the article
// view's entries.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/view/article_layout.h"
#include "core/view/article_view_state.h"

struct PressOutcome {
    /// Set when an entry was hit: the frame's `selectedArticle` becomes this
    /// and its `listItemChosen` is cleared.
    std::optional<int> selectedArticle;
    bool invalidate = false;  ///< repaint the whole view with background erase
};

/// A left-button press at (x, y). Ignored when no button flag is set (the
/// refresh tick sends such presses) and when the current index names nothing.
/// The hit entry becomes selected (mark 2); any other selected entry goes back
/// to the saved state; the saved state becomes the hit entry's old mark, 0
/// when nothing was hit, and stays when the hit entry was already selected.
/// The hit entry becomes the keyboard cursor; a press beside all entries
/// leaves none.
PressOutcome PressAt(ArticleViewState& state, int currentIndex, const ArticleData& data, int x, int y,
                     bool anyButtonFlag);

/// Selects the entry at `position` of the current range as a press on it
/// does, and makes it the cursor; nothing when there is no such entry.
PressOutcome SelectPosition(ArticleViewState& state, int currentIndex, const ArticleData& data, int position);

/// The cursor's position in `range`, none when it was chosen in another
/// issue, section or mode, lies past the range's end, or its entry is no
/// longer marked selected.
std::optional<int> CursorOf(const ArticleViewState& state, int currentIndex, const EntryRange& range);

enum class CursorMove { Next, Previous, First, Last, NextFound, PreviousFound };

/// Where the cursor goes from `from` (none: Next starts before the first
/// entry, Previous after the last). The stops are the articles: entries with
/// a title and, in issue mode, a link, so headings and the terminating entry
/// are passed over; in favourites mode every entry with a title. The found moves stop only at
/// articles marked found. None when no stop lies that way: Tab and Shift+Tab
/// then leave the view.
std::optional<int> MoveCursor(const EntryRange& range, bool issueMode, std::optional<int> from, CursorMove move);

/// An article to hand to the contents page's OpenArticle.
struct OpenRequest {
    std::string link;
    bool relative = false;  ///< issue entries: true; favourites carry a complete link
    bool operator==(const OpenRequest&) const = default;
};

/// A double click at (x, y): every entry whose hitRect contains the point, in
/// range order. Marks and the selection are left alone.
std::vector<OpenRequest> ArticlesToOpen(const ArticleViewState& state, int currentIndex, const ArticleData& data,
                                        int x, int y);

/// The position in the range of the first entry containing (x, y), for the
/// right-click favourites actions.
std::optional<int> FirstEntryAt(const EntryRange& range, int x, int y);
