// SPDX-License-Identifier: GPL-3.0-or-later
// The scroll table.
#include "core/view/view_scroll.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

constexpr int kScrollBarStrip = 15;
constexpr int kLinesPerNotch = 3;
constexpr int kShowMargin = 10;

/// Sums are widened so that no input overflows; the result fits an int.
int ToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                       std::numeric_limits<int>::max()));
}

}  // namespace

ScrollAction ScrollActionForKey(NavigationKey key) {
    switch (key) {
        case NavigationKey::Up: return ScrollAction::LineUp;
        case NavigationKey::Down: return ScrollAction::LineDown;
        case NavigationKey::PageUp: return ScrollAction::PageUp;
        case NavigationKey::PageDown: return ScrollAction::PageDown;
        case NavigationKey::Other: break;
    }
    return ScrollAction::None;
}

int ScrolledPosition(ScrollAction action, int position, int thumbPosition, int lineStep, int clientHeight,
                     int scrollMaximum) {
    std::int64_t p = position;
    std::int64_t page = static_cast<std::int64_t>(clientHeight) - lineStep;
    switch (action) {
        case ScrollAction::LineUp: return ToInt(std::max<std::int64_t>(p - lineStep, 0));
        case ScrollAction::LineDown: return ToInt(std::min<std::int64_t>(p + lineStep, scrollMaximum));
        case ScrollAction::PageUp: return ToInt(std::max<std::int64_t>(p - page, 0));
        case ScrollAction::PageDown: return ToInt(std::min<std::int64_t>(p + page, scrollMaximum));
        case ScrollAction::Thumb: return thumbPosition;
        case ScrollAction::None: break;
    }
    return position;
}

void ApplyScroll(ArticleViewState& state, ScrollAction action, int thumbPosition, int clientHeight) {
    state.scrollPosition = ScrolledPosition(action, state.scrollPosition, thumbPosition, state.lineStep,
                                            clientHeight, state.scrollMaximum);
}

PixelRect ScrollInvalidation(PixelRect client) {
    return PixelRect{client.left, client.top, client.right - kScrollBarStrip, client.bottom};
}

int WheelLineSteps(int rotation, int delta, int& pending) {
    if (delta <= 0) return 0;
    if ((pending < 0 && rotation > 0) || (pending > 0 && rotation < 0)) pending = 0;
    const std::int64_t total = pending + static_cast<std::int64_t>(rotation) * kLinesPerNotch;
    const std::int64_t steps = total / delta;
    pending = static_cast<int>(total - steps * delta);
    return ToInt(-steps);
}

void ApplyLineSteps(ArticleViewState& state, int steps, int clientHeight) {
    const ScrollAction action = steps < 0 ? ScrollAction::LineUp : ScrollAction::LineDown;
    for (std::int64_t i = 0; i < std::abs(static_cast<std::int64_t>(steps)); ++i) {
        const int before = state.scrollPosition;
        ApplyScroll(state, action, 0, clientHeight);
        if (state.scrollPosition == before) break;  // at the limit
    }
}

int ScrollToShow(int position, int top, int bottom, int clientHeight, int scrollMaximum) {
    if (top >= 0 && bottom <= clientHeight) return position;
    std::int64_t wanted = static_cast<std::int64_t>(position) + top - kShowMargin;
    const bool below = top > 0;
    if (below && static_cast<std::int64_t>(bottom) - top + 2 * kShowMargin <= clientHeight)
        wanted = static_cast<std::int64_t>(position) + bottom + kShowMargin - clientHeight;
    return ToInt(std::clamp<std::int64_t>(wanted, 0, std::max(scrollMaximum, 0)));
}

ScrollBarSettings ScrollBarFor(const ArticleViewState& state, int clientHeight) {
    const int page = std::max(clientHeight, 0);
    return ScrollBarSettings{state.scrollPosition, page,
                             ToInt(static_cast<std::int64_t>(state.scrollMaximum) + page), page};
}
