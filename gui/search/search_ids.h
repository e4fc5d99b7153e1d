// SPDX-License-Identifier: GPL-3.0-or-later
// Control ids of the search page and the progress dialog, with the program's
// fixed values.
#pragma once

enum SearchControlId {
    ID_SEARCH_RESULTS = 1001,
    ID_SEARCH_BUTTON = 1003,
    ID_WHOLE_WORD = 1005,
    ID_MATCH_CASE = 1006,
    ID_SEARCH_QUERY = 1007,
    ID_QUERY_LABEL = 1009,
    ID_RESULTS_LABEL = 1010,
    ID_IN_TITLES = 1013,
    ID_IN_TEXT = 1014,
    ID_WHERE_GROUP = 1022,
    ID_PROGRESS_JOURNAL = 1023,
    ID_PROGRESS_BAR = 1024,
};

/// Makes the resources' symbolic names stand for the values above; must run
/// before a search window is loaded.
void RegisterSearchResourceIds();
