// SPDX-License-Identifier: GPL-3.0-or-later
// The article view's layout: which entries it walks, how a title splits into
// title proper and annotation, which style draws it, and the layout pass that
// places every block, records the hit rectangles and sets the scroll range.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings/settings_store.h"
#include "core/view/article_view_state.h"
#include "core/view/text_wrap.h"
#include "core/favorites/favorites_store.h"
#include "core/library/issue_record.h"
#include "core/library/title_parts.h"

/// The four fields of an issue entry or a favourite that the view uses.
struct EntryRef {
    const std::string* title = nullptr;
    const std::string* link = nullptr;
    HitRect* hitRect = nullptr;
    std::int32_t* mark = nullptr;

    // The search worker writes issue marks while the view reads them.
    std::int32_t Mark() const { return std::atomic_ref<std::int32_t>(*mark).load(std::memory_order_relaxed); }
    void SetMark(std::int32_t value) const {
        std::atomic_ref<std::int32_t>(*mark).store(value, std::memory_order_relaxed);
    }
};

/// Works for ArticleEntry and TSelected alike.
template <class Entry>
EntryRef RefTo(Entry& entry) {
    return EntryRef{&entry.title, &entry.link, &entry.hitRect, &entry.mark};
}

/// The entries that a paint or a mouse handler walks, in order.
struct EntryRange {
    bool shown = false;  ///< false when the current index names nothing
    std::vector<EntryRef> entries;
};

/// Entries up to and including the first one with an empty title; when all
/// slots hold articles, up to the last slot.
EntryRange IssueEntryRange(IssueRecord& issue);
/// All articles of the section.
EntryRange SectionEntryRange(TSelectedFolder& section);

/// What the view can show; the window fills it from the contents page.
struct ArticleData {
    std::vector<IssueRecord>* issues = nullptr;
    FavoritesStore* favorites = nullptr;
};

/// The range for the current index in the given mode; not shown for a
/// negative index or one past the issues or sections there are.
EntryRange CurrentEntryRange(bool issueMode, int currentIndex, const ArticleData& data);

/// The StyleIndex of an entry's title proper: in issue mode an empty link
/// makes a heading whatever the mark; otherwise mark 0 plain, 1 found, any
/// other value selected.
int ChooseStyle(bool issueMode, std::string_view link, std::int32_t mark);

/// One line of text for the window to draw, top-left at (x, y), in `style`'s
/// font and colour, clipped to `clip`.
struct DrawLine {
    int style = 0;
    int x = 0, y = 0;
    std::string text;  ///< code page 1251
    PixelRect clip;
};

struct LayoutResult {
    int listHeight = 0;     ///< 0 to 10 px below the last block, unscrolled; 0 without entries
    int scrollMaximum = 0;  ///< listHeight less the client height, never below 0
    bool measured = false;  ///< false when no entry was laid out: keep the old line step
    int lineStep = 0;
    std::vector<DrawLine> lines;  ///< only those that reach into the client area
};

/// Lays out every entry of the range (writing its hitRect) at the given scroll
/// position inside the client rectangle.
LayoutResult LayOutEntries(const std::vector<EntryRef>& entries, bool issueMode, TextMeasurer& measurer,
                           PixelRect client, int scrollPosition);

/// Resets the scroll position to 0 when the current index differs from the
/// last painted one (whatever the mode) and remembers it; true then.
bool PreparePaint(ArticleViewState& state, int& lastPaintedIndex, int currentIndex);

struct PaintResult {
    bool thumbToZero = false;  ///< move the scroll bar's thumb to 0
    bool rangeSet = false;     ///< state.scrollMaximum was recomputed: show it on the scroll bar
    std::vector<DrawLine> lines;
};

/// One paint: preparation, then the layout of the current index's range in
/// the state's mode, its scroll maximum and line step stored into `state`.
/// When the index names nothing it draws nothing and leaves the scroll range
/// and the line step as they were.
PaintResult PaintArticles(ArticleViewState& state, int& lastPaintedIndex, int currentIndex,
                          const ArticleData& data, TextMeasurer& measurer, PixelRect client);
