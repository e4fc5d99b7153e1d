// The main window's geometry rules, apart from any window: the stored
// placement, the split between the panes and the enabling of "Читать".
#pragma once

#include <cstdint>

#include "app/settings_store.h"

/// A rectangle as left, top, right, bottom.
struct FrameRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

/// The placement stored at exit: the client area, taller by the toolbar's
/// height while the toolbar is hidden, because the next start creates the
/// window with the toolbar shown and hides it only afterwards.
Placement PlacementToStore(const FrameRect& clientRect, bool showToolBar, int toolBarHeight);

/// Initial widths of the two panes for a client width and a split ratio.
int LeftPaneWidth(int clientWidth, double ratio);
int RightPaneWidth(int clientWidth, double ratio);

/// The ratio stored when the left pane's width changes; the width is taken as
/// an unsigned 32-bit number.
double LeftShareFor(int clientWidth, std::uint32_t leftPaneWidth);

/// "Читать" is enabled while an issue, a search result or a favourites section
/// is chosen.
constexpr bool ReadCommandEnabled(bool issueChosen, bool resultSelected, bool sectionChosen)
{
    return issueChosen || resultSelected || sectionChosen;
}
