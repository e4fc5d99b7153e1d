// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/placement.h"

#include <algorithm>

Placement PlacementToStore(const FrameRect& clientRect, bool showToolBar, int toolBarHeight)
{
    const int height = clientRect.Height() + (showToolBar ? 0 : toolBarHeight);
    return {clientRect.left, clientRect.top, clientRect.Width(), height};
}

int LeftPaneWidth(int clientWidth, double ratio)
{
    return static_cast<int>(clientWidth / ratio);
}

int RightPaneWidth(int clientWidth, double ratio)
{
    return static_cast<int>((1.0 - 1.0 / ratio) * clientWidth);
}

double LeftShareFor(int clientWidth, std::uint32_t leftPaneWidth)
{
    return static_cast<double>(clientWidth) / (static_cast<double>(leftPaneWidth) + kStoredPaneBorder);
}

int SashPositionFor(int clientWidth, double ratio)
{
    return std::max(1, LeftPaneWidth(clientWidth, ratio) - kStoredPaneBorder);
}

FrameRect FitIntoArea(const FrameRect& window, const FrameRect& area)
{
    const int width = std::min(window.Width(), area.Width());
    const int height = std::min(window.Height(), area.Height());
    const int left = std::clamp(window.left, area.left, area.right - width);
    const int top = std::clamp(window.top, area.top, area.bottom - height);
    return {left, top, left + width, top + height};
}
