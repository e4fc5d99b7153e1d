// SPDX-License-Identifier: GPL-3.0-or-later
// The layout pass of the article view.
//
//   the laid-out list                         the window
//
//   y = 0  +-------------------------------+  - - - - - - - - - - -
//          |            10 px              |    ^ scrollPosition:
//   y = 10 |  +-------------------------+  |    | the list is shifted up
//          |  | title proper       h    |  |  --+---- client.top ------
//          |  +-------------------------+  |    text rectangle top =
//          |  | annotation         h2   |  |      client.top + y - scrollPosition
//          |  +-------------------------+  |    left  = client.left + 10
//          |            20 px (after an annotation only)
//          |  +-------------------------+  |    right = client.right - 20
//          |  | last block ...          |  |    bottom = client.bottom
//          |  +-------------------------+  |
//          |            10 px              |
//          +-------------------------------+  list height
//
//   y, the running height, grows by h (+ h2 + 20) per entry and never sees
//   the scroll position; the text rectangle does. The list height runs from
//   0 to 10 px below the last block, so it does not depend on the position
//   either; the scroll maximum is the list height less the client height
//   (never below 0), which puts the last block 10 px above the bottom edge
//   at the end. A block's hitRect is its title proper only:
//   (left, top, right, top + h).
#include "core/view/article_layout.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int kTopMargin = 10;
constexpr int kLeftIndent = 10;
constexpr int kRightIndent = 20;
constexpr int kAnnotationGap = 20;
constexpr int kBottomMargin = 10;
/// What of one title (title proper and annotation together) is laid out and
/// drawn: far beyond any real title, so that one of megabytes in a damaged
/// or hostile file costs no more than this. The stored title stays whole.
constexpr std::size_t kMaxLaidOutTitle = 16 * 1024;

/// Wraps `text` in the selected style into `rect`; returns the height drawn.
int LayOutBlock(TextMeasurer& measurer, int style, std::string_view text, const PixelRect& rect,
                const PixelRect& client, std::vector<DrawLine>& out) {
    WrappedText wrapped = WrapText(measurer, text, rect.right - rect.left);
    int lineTop = rect.top;
    for (std::string& line : wrapped.lines) {
        // Lines wholly outside the client area would be clipped away anyway.
        if (lineTop < rect.bottom && lineTop + wrapped.lineHeight > client.top)
            out.push_back(DrawLine{style, rect.left, lineTop, std::move(line), rect});
        lineTop += wrapped.linePitch;
    }
    return wrapped.height;
}

}  // namespace

int& ProcessLastPaintedIndex() {
    static int lastPaintedIndex = -1;
    return lastPaintedIndex;
}

EntryRange IssueEntryRange(IssueRecord& issue) {
    EntryRange range{true, {}};
    for (ArticleEntry& entry : issue.articles) {
        range.entries.push_back(RefTo(entry));
        if (entry.title.empty()) break;
    }
    return range;
}

EntryRange SectionEntryRange(TSelectedFolder& section) {
    EntryRange range{true, {}};
    for (TSelected& article : section.articles) range.entries.push_back(RefTo(article));
    return range;
}

EntryRange CurrentEntryRange(bool issueMode, int currentIndex, const ArticleData& data) {
    if (currentIndex < 0) return {};
    auto index = static_cast<std::size_t>(currentIndex);
    if (issueMode) {
        if (data.issues == nullptr || index >= data.issues->size()) return {};
        return IssueEntryRange((*data.issues)[index]);
    }
    if (data.favorites == nullptr || index >= data.favorites->sections.size()) return {};
    return SectionEntryRange(data.favorites->sections[index]);
}

int ChooseStyle(bool issueMode, std::string_view link, std::int32_t mark) {
    if (issueMode && link.empty()) return kStyleHeading;
    if (mark == kMarkPlain) return kStylePlainTitle;
    if (mark == kMarkFound) return kStyleFoundTitle;
    return kStyleSelectedTitle;
}

LayoutResult LayOutEntries(const std::vector<EntryRef>& entries, bool issueMode, TextMeasurer& measurer,
                           PixelRect client, int scrollPosition) {
    LayoutResult result;
    measurer.SelectStyle(kStylePlainTitle);
    int y = kTopMargin;
    int lastBottom = 0;  // unscrolled, like y
    for (const EntryRef& entry : entries) {
        TitleParts parts = SplitTitle(std::string_view(*entry.title).substr(0, kMaxLaidOutTitle));
        // Favourites measure the font the previous record left selected.
        if (!issueMode) result.lineStep = measurer.LineHeight();
        int style = ChooseStyle(issueMode, *entry.link, entry.Mark());
        measurer.SelectStyle(style);
        if (issueMode) result.lineStep = measurer.LineHeight();
        result.measured = true;

        PixelRect rect{client.left + kLeftIndent, client.top + y - scrollPosition, client.right - kRightIndent,
                       client.bottom};
        int h = LayOutBlock(measurer, style, parts.titleProper, rect, client, result.lines);
        *entry.hitRect = HitRect{rect.left, rect.top, rect.right, rect.top + h};
        y += h;
        lastBottom = y;
        if (parts.hasAnnotation) {
            measurer.SelectStyle(kStyleAnnotation);
            rect.top += h;
            int h2 = LayOutBlock(measurer, kStyleAnnotation, parts.annotation, rect, client, result.lines);
            y += h2;
            lastBottom = y;
            y += kAnnotationGap;
        }
    }
    result.listHeight = entries.empty() ? 0 : lastBottom + kBottomMargin;
    result.scrollMaximum = std::max(0, result.listHeight - (client.bottom - client.top));
    return result;
}

bool PreparePaint(ArticleViewState& state, int& lastPaintedIndex, int currentIndex) {
    if (currentIndex == lastPaintedIndex) return false;
    lastPaintedIndex = currentIndex;
    state.scrollPosition = 0;
    return true;
}

PaintResult PaintArticles(ArticleViewState& state, int& lastPaintedIndex, int currentIndex,
                          const ArticleData& data, TextMeasurer& measurer, PixelRect client) {
    PaintResult paint;
    paint.thumbToZero = PreparePaint(state, lastPaintedIndex, currentIndex);
    EntryRange range = CurrentEntryRange(state.issueMode, currentIndex, data);
    if (!range.shown) return paint;
    LayoutResult layout = LayOutEntries(range.entries, state.issueMode, measurer, client, state.scrollPosition);
    state.scrollMaximum = layout.scrollMaximum;
    if (layout.measured) state.lineStep = layout.lineStep;
    paint.rangeSet = true;
    paint.lines = std::move(layout.lines);
    return paint;
}
