// SPDX-License-Identifier: GPL-3.0-or-later
// The query history and the search page's layout.
#include "core/search/search_page_rules.h"

HistoryChange UpdateHistory(SearchHistory& history, std::string_view query)
{
    // The list holds the non-empty entries, which come first.
    int listed = 0;
    while (listed < kHistorySize && !history[static_cast<std::size_t>(listed)].empty())
        ++listed;
    for (int i = 0; i < listed; ++i)
        if (history[static_cast<std::size_t>(i)] == query)
            return {};
    for (int i = kHistorySize - 1; i > 0; --i)
        history[static_cast<std::size_t>(i)] = std::move(history[static_cast<std::size_t>(i - 1)]);
    history[0] = std::string(query);
    return {true, listed == kHistorySize};
}

SearchRequest OnSearchRequest(bool textSearchRunning, std::int32_t cancelState)
{
    if (!textSearchRunning)
        return SearchRequest::Start;
    return cancelState < 0 ? SearchRequest::AbandonCancelledFirst : SearchRequest::Refuse;
}

SearchPageControls LayOutSearchPage(SearchPageControls c, int width, int height)
{
    c.queryLabel.x = 20;
    c.queryLabel.y = 5;

    const int y1 = 5 + c.queryLabel.height;
    c.query = {7, y1, width - 14, 20};

    const int y2 = y1 + c.wholeWord.height + 5;
    c.wholeWord.x = 10;
    c.wholeWord.y = y2;
    c.searchButton.x = width - 7 - c.searchButton.width;
    c.searchButton.y = y2;

    const int y3 = y2 + c.matchCase.height;
    c.matchCase.x = 10;
    c.matchCase.y = y3;

    const int y4 = y3 + c.matchCase.height + 15;
    c.inTitles.x = 20;
    c.inTitles.y = y4;
    c.inText = {width - 10 - c.inText.width, y4, c.inText.width, c.inTitles.height};

    // The group box ends just below the radio buttons and is 2.1 of their
    // heights tall.
    const int g = c.inText.height * 21 / 10;
    const int b = y4 + c.inTitles.height + c.inText.height / 5;
    c.whereGroup = {7, b - g, width - 14, g};

    const int y5 = b + 5;
    c.resultsLabel.x = 7;
    c.resultsLabel.y = y5;
    const int y6 = y5 + c.resultsLabel.height + 5;
    c.results = {7, y6, width - 14, height - 5 - y6};
    return c;
}
