// SPDX-License-Identifier: GPL-3.0-or-later
// The core's spoken entries in the toolkit's text encoding.
#include "gui/view/view_speech.h"

#include "core/view/spoken_entries.h"
#include "platform/wx/wx_text.h"

namespace {

std::string Utf8(const std::string& text1251)
{
    return From1251(text1251).utf8_string();
}

}  // namespace

AccessibleList AccessibleArticles(bool issueMode, int currentIndex, const ArticleData& data)
{
    const SpokenEntries spoken = DescribeShownEntries(issueMode, currentIndex, data);
    AccessibleList list;
    list.name = Utf8(spoken.name);
    list.items.reserve(spoken.entries.size());
    for (const SpokenEntry& entry : spoken.entries)
        list.items.push_back(AccessibleItem{Utf8(entry.name), Utf8(entry.description), entry.heading, entry.selected,
                                            {entry.place.left, entry.place.top, entry.place.right - entry.place.left,
                                             entry.place.bottom - entry.place.top}});
    return list;
}
