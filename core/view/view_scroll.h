// SPDX-License-Identifier: GPL-3.0-or-later
// The article view's scrolling: one table for the scroll bar's requests, the
// navigation keys and the mouse wheel, and what the scroll bar is told.
#pragma once

#include "core/view/article_view_state.h"

enum class ScrollAction { LineUp, LineDown, PageUp, PageDown, Thumb, None };

/// The keys the window passes on; every other key is Other.
enum class NavigationKey { Up, Down, PageUp, PageDown, Other };

/// Up, Down, Page Up and Page Down scroll like the scroll bar's line and page
/// requests; other keys (Home and End included) leave the position alone.
ScrollAction ScrollActionForKey(NavigationKey key);

/// The new position. Each action applies only its own limit: line and page up
/// stop at 0, line and page down at `scrollMaximum`; a thumb request takes
/// `thumbPosition` as it is; None keeps `position`.
int ScrolledPosition(ScrollAction action, int position, int thumbPosition, int lineStep, int clientHeight,
                     int scrollMaximum);

/// Applies the action to the state's position with the state's line step and
/// the scroll maximum of the last paint. The window then moves the thumb to
/// `state.scrollPosition` and invalidates ScrollInvalidation(client).
void ApplyScroll(ArticleViewState& state, ScrollAction action, int thumbPosition, int clientHeight);

/// The client area without the scroll bar's 15-pixel strip at the right.
PixelRect ScrollInvalidation(PixelRect client);

/// Line steps for a turn of the mouse wheel: three per notch (rotation /
/// delta), negative (up) for a turn away from the user. A fine-grained
/// wheel reports less than a notch at a time: that remainder is kept in
/// `pending` until it adds up to a step; a turn the other way drops it.
int WheelLineSteps(int rotation, int delta, int& pending);

/// Scrolls by `steps` line steps (negative: up), each with the limit of line
/// up or line down.
void ApplyLineSteps(ArticleViewState& state, int steps, int clientHeight);

/// The position that brings a block from `top` to `bottom` (client
/// coordinates at `position`) into a client area `clientHeight` high: kept
/// when the block is wholly in sight; else the block goes to the top with
/// the list's 10-pixel margin above it, or, when it lies below and fits, to
/// the bottom with that margin below it. Within 0 .. scrollMaximum.
int ScrollToShow(int position, int top, int bottom, int clientHeight, int scrollMaximum);

/// What the scroll bar shows. Its page is the client height, so the thumb is
/// the visible share of the list and its end position is the scroll maximum.
struct ScrollBarSettings {
    int position = 0;
    int thumbSize = 0;
    int range = 0;
    int pageSize = 0;
    bool operator==(const ScrollBarSettings&) const = default;
};

/// The settings for the state's position and scroll maximum.
ScrollBarSettings ScrollBarFor(const ArticleViewState& state, int clientHeight);
