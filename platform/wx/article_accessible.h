// SPDX-License-Identifier: GPL-3.0-or-later
// A window that draws a list by itself, made readable by screen readers:
// the desktop's accessibility interface sees a named list with one item per
// entry, the selection and the keyboard cursor as states, and hears of every
// change the window reports.
#pragma once

#include <functional>
#include <string>
#include <vector>

class wxWindow;

/// A rectangle in the window's client coordinates.
struct AccessiblePlace {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const AccessiblePlace&) const = default;
};

/// One entry as the screen reader gets it (UTF-8).
struct AccessibleItem {
    std::string name;
    std::string description;
    bool heading = false;
    bool selected = false;
    /// Where it is drawn, in the window's client coordinates: magnifiers
    /// follow the cursor there, and an entry scrolled away is not showing.
    AccessiblePlace place;
    bool operator==(const AccessibleItem&) const = default;
};

struct AccessibleList {
    std::string name;
    std::vector<AccessibleItem> items;
    bool operator==(const AccessibleList&) const = default;
};

/// Makes `window` speak as the list `source` describes. Call once, before
/// the window is first shown; the window's keyboard focus puts the focused
/// state on its selected item.
void ExposeAsAccessibleList(wxWindow* window, std::function<AccessibleList()> source);

/// Stops speaking for `window`: called by the window's destructor, before the
/// parts `source` reads are gone (GTK still moves the focus while the widget
/// itself is being destroyed).
void WithdrawAccessibleList(wxWindow* window);

/// Compares what `source` says now with what the screen reader was told and
/// tells it the difference: new entries, names, selection and cursor. Costs
/// nothing while no screen reader has asked for the window.
void NotifyAccessibleList(wxWindow* window);
