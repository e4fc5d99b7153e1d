// SPDX-License-Identifier: GPL-3.0-or-later
// The search page's rules that need no window: the query history and the
// placement of the page's controls on a resize.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

constexpr int kHistorySize = 5;

/// Most recent first; the drop-down list shows the non-empty entries.
using SearchHistory = std::array<std::string, kHistorySize>;

struct HistoryChange {
    bool added = false;         ///< the query went to the top (list entry 0)
    bool droppedOldest = false; ///< the list was full: its entry 4 went first
};

/// After a search: a query already in the list (compared whole and
/// case-sensitively) changes nothing; otherwise it becomes entry 0 and the
/// oldest entry drops out.
HistoryChange UpdateHistory(SearchHistory& history, std::string_view query);

/// What "Искать" does while a text search may still run.
enum class SearchRequest {
    Start,                  ///< nothing runs: the search starts
    AbandonCancelledFirst,  ///< a cancelled search is finishing its issue: it stops now, its rows never shown
    Refuse,                 ///< a search runs that nobody cancelled: the status bar says so
};
SearchRequest OnSearchRequest(bool textSearchRunning, std::int32_t cancelState);

struct ControlRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const ControlRect&) const = default;
};

/// The page's controls, each with its current position and client size.
struct SearchPageControls {
    ControlRect queryLabel;    ///< static 1009
    ControlRect query;         ///< combo box 1007
    ControlRect wholeWord;     ///< check box 1005
    ControlRect searchButton;  ///< button 1003
    ControlRect matchCase;     ///< check box 1006
    ControlRect inTitles;      ///< radio button 1013
    ControlRect inText;        ///< radio button 1014
    ControlRect whereGroup;    ///< group box 1022
    ControlRect resultsLabel;  ///< static 1010
    ControlRect results;       ///< list box 1001
};

/// Lays the controls out for a page of client size `width` x `height`, in
/// pixels; a control keeps its size where the layout sets none.
SearchPageControls LayOutSearchPage(SearchPageControls controls, int width, int height);
