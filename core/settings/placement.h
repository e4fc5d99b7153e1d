// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's geometry rules, apart from any window: the stored
// placement and the split between the panes.
#pragma once

#include <cstdint>

#include "core/settings/settings_store.h"

/// A rectangle as left, top, right, bottom.
struct FrameRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const FrameRect&) const = default;
};

/// A window rectangle made to fit inside a screen's work area: no wider or
/// taller than the area, and moved in where it stands out of it.
FrameRect FitIntoArea(const FrameRect& window, const FrameRect& area);

/// The placement stored at exit: the client area, taller by the toolbar's
/// height while the toolbar is hidden, because the next start creates the
/// window with the toolbar shown and hides it only afterwards.
Placement PlacementToStore(const FrameRect& clientRect, bool showToolBar, int toolBarHeight);

/// Initial widths of the two panes for a client width and a split ratio.
int LeftPaneWidth(int clientWidth, double ratio);
int RightPaneWidth(int clientWidth, double ratio);

/// The stored ratio divides the client width by the left pane's width plus a
/// border of this many pixels, which the program's splitter does not draw.
constexpr int kStoredPaneBorder = 2;

/// The ratio stored when the left pane's width changes; the width is taken as
/// an unsigned 32-bit number.
double LeftShareFor(int clientWidth, std::uint32_t leftPaneWidth);

/// Where the sash goes for a stored ratio, so that the ratio comes back
/// unchanged: the left pane's width less the border. Never below 1, because
/// the splitter reads 0 as "centre" and a negative position as "from the
/// right", which would collapse the article view instead of the left pane.
int SashPositionFor(int clientWidth, double ratio);
