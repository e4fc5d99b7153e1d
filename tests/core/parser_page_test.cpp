// SPDX-License-Identifier: GPL-3.0-or-later
// Cutting titles and links out of one table-of-contents page, and the title
// clean-up.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/library/contents_parser.h"

namespace {

struct Entry {
    std::string title;
    std::string link;
    bool operator==(const Entry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Entry& e)
{
    return out << "{\"" << e.title << "\", \"" << e.link << "\"}";
}

/// The entries up to the first free slot.
std::vector<Entry> Listed(const IssueRecord& issue)
{
    std::vector<Entry> result;
    for (const ArticleEntry& entry : issue.articles) {
        if (entry.title.empty())
            break;
        result.push_back({entry.title, entry.link});
    }
    return result;
}

std::vector<Entry> Parse(std::string_view page)
{
    IssueRecord issue;
    ParseContentsPage(page, issue);
    return Listed(issue);
}

std::string Indented(std::string_view text)
{
    return "     " + std::string(text);
}

// "Назад" and "Статьи" in code page 1251.
const std::string kBack = "\xCD\xE0\xE7\xE0\xE4";
const std::string kArticles = "\xD1\xF2\xE0\xF2\xFC\xE8";

struct CleanCase {
    const char* name;
    std::string input;
    std::string expected;
};

class CleanTitleTest : public ::testing::TestWithParam<CleanCase> {};

TEST_P(CleanTitleTest, Cleans)
{
    std::string text = GetParam().input;
    CleanTitle(text);
    EXPECT_EQ(text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CleanTitleTest,
    ::testing::Values(CleanCase{"NoBlankNoAmp", "Word", "Word"},
                      CleanCase{"LeadingSpacesAndTabs", " \t \tWord", "Word"},
                      CleanCase{"SpaceRunsShrink", "a   b    c", "a b c"},
                      CleanCase{"InnerTabsAndOneTrailingSpaceStay", "a\t\tb   ", "a\t\tb "},
                      CleanCase{"OnlyBlanks", " \t  ", ""},
                      CleanCase{"ReferencesDeleted", "a&nbsp;b&quot;c", "abc"},
                      CleanCase{"ReferenceBetweenSpacesLeavesTwo", "a &amp; b", "a  b"},
                      CleanCase{"AmpWithoutSemicolonKeepsRest", "a&b c;d&e f", "ad&e f"},
                      CleanCase{"LoneAmpStays", "R&D", "R&D"},
                      CleanCase{"NestedAmpGoesWithFirst", "x&a&b;y", "xy"},
                      CleanCase{"OnlyReferences", "&nbsp;&nbsp;", ""},
                      CleanCase{"Cyrillic1251", "  \xD1\xF2\xE0\xF2\xFC\xE8  \xE8", "\xD1\xF2\xE0\xF2\xFC\xE8 \xE8"}),
    [](const auto& info) { return std::string(info.param.name); });

struct PageCase {
    const char* name;
    std::string page;
    std::vector<Entry> expected;
};

class ContentsPageTest : public ::testing::TestWithParam<PageCase> {};

TEST_P(ContentsPageTest, Entries)
{
    EXPECT_EQ(Parse(GetParam().page), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ContentsPageTest,
    ::testing::Values(
        PageCase{"ListItemWithAnchor", "<li><a href=\"a.htm\">First</a></li>\n", {{Indented("First"), "a.htm"}}},
        PageCase{"RowWithoutLinkIsHeading", "<tr><td><b>Section</b></td></tr>\r\n", {{Indented("Section"), ""}}},
        PageCase{"SplitAnchorTextIsGlued",
                 "<li><a href=\"b.htm\">Second\r\npart</a></li>\n",
                 {{Indented("Secondpart"), "b.htm"}}},
        PageCase{"TwoItemsOnOneLineGiveTheFirst",
                 "<li><a href=\"1.htm\">One</a></li><li><a href=\"2.htm\">Two</a></li>\n",
                 {{Indented("One"), "1.htm"}}},
        PageCase{"TagWithAttributesDoesNotStart", "<tr class=\"x\"><td>Row</td></tr>\n<li class=\"y\">Item</li>\n", {}},
        PageCase{"AnyTagBeginningWithAStarts", "<address>Street</address>\n", {{Indented("Street"), ""}}},
        PageCase{"UnquotedLinkYieldsNothing", "<li><a href=a.htm>Plain</a></li>\n", {}},
        PageCase{"BlankFirstRunTakesNextRun",
                 "<li><a href=\"c.htm\"> &nbsp;</a><b>Real</b></li>\n",
                 {{Indented("Real"), "c.htm"}}},
        PageCase{"BackAndAddressesRefused",
                 "<li><a href=\"i.htm\">" + kBack + "</a></li>\n<li><a href=\"x\">see http://x</a></li>\n", {}},
        PageCase{"CopyrightEndsIssue",
                 "<li><a href=\"1.htm\">One</a></li>\n<tr><td>Copyright 2001</td></tr>\n"
                 "<li><a href=\"2.htm\">Two</a></li>\n",
                 {{Indented("One"), "1.htm"}}},
        PageCase{"CapitalTagsOnlyObject",
                 "<LI>Plain item</LI>\n<li><A HREF=\"2.htm\">Two</A></li>\n"
                 "<OBJECT><param value=\"x\">Obj</OBJECT>\n",
                 {{Indented("Two"), ""}, {Indented("Obj"), ""}}},
        PageCase{"ReferenceBetweenSpacesKeepsTwo",
                 "<li><a href=\"d.htm\">Tom &amp; Jerry</a></li>\n",
                 {{Indented("Tom  Jerry"), "d.htm"}}},
        PageCase{"MissingSecondQuoteGivesEmptyLink", "<li><a href=\"broken>Text</a></li>\n", {{Indented("Text"), ""}}},
        PageCase{"TagsInARowAreSkipped",
                 "<tr><td><font><b>Deep</b></font></td></tr>\n",
                 {{Indented("Deep"), ""}}},
        PageCase{"CloserInsideLaterLineEndsGluing",
                 "<tr>\n<td>\nHead\n</td>\n</tr>\n<li><a href=\"e.htm\">After</a></li>\n",
                 {{Indented("Head"), ""}, {Indented("After"), "e.htm"}}},
        PageCase{"ElementOpenAtEndIsTakenAsRead", "<li><a href=\"f.htm\">\nTail<br>", {{Indented("Tail"), "f.htm"}}},
        PageCase{"RunWithoutFollowingTagIsNoTitle", "<li><a href=\"f.htm\">Tail", {}},
        PageCase{"LastLineWithoutBreak", "<li><a href=\"g.htm\">" + kArticles + "</a></li>",
                 {{Indented(kArticles), "g.htm"}}},
        PageCase{"LoneCarriageReturnStaysInLine",
                 "<li><a href=\"h.htm\">A\rB</a></li>\n",
                 {{Indented("A\rB"), "h.htm"}}},
        PageCase{"GreaterThanLastHasNoTitle", "<tr>\n", {}},
        PageCase{"EmptyPage", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ContentsPage, RejectedElementLeavesItsLinkInTheNextSlot)
{
    IssueRecord issue;
    ParseContentsPage("<li><a href=\"1.htm\">One</a></li>\n<li><a href=\"back.htm\">" + kBack + "</a></li>\n", issue);
    EXPECT_EQ(issue.articles[0].link, "1.htm");
    EXPECT_EQ(issue.articles[1].title, "");
    EXPECT_EQ(issue.articles[1].link, "back.htm");
}

TEST(ContentsPage, LaterHeadingReplacesStrayLink)
{
    IssueRecord issue;
    ParseContentsPage("<li><a href=\"back.htm\">" + kBack + "</a></li>\n<tr><td>Head</td></tr>\n", issue);
    EXPECT_EQ(issue.articles[0].title, Indented("Head"));
    EXPECT_EQ(issue.articles[0].link, "");
}

TEST(ContentsPage, ReparsingClearsEarlierEntries)
{
    IssueRecord issue;
    ParseContentsPage("<li><a href=\"1.htm\">One</a></li>\n<li><a href=\"2.htm\">Two</a></li>\n", issue);
    ParseContentsPage("<li><a href=\"3.htm\">Three</a></li>\n", issue);
    EXPECT_EQ(Listed(issue), (std::vector<Entry>{{Indented("Three"), "3.htm"}}));
    EXPECT_EQ(issue.articles[1].link, "");
}

std::string ManyItems(int count)
{
    std::string page;
    for (int i = 0; i < count; ++i)
        page += "<li><a href=\"" + std::to_string(i) + ".htm\">T" + std::to_string(i) + "</a></li>\n";
    return page;
}

TEST(ContentsPage, EntriesPastTheHundredthAreDropped)
{
    IssueRecord issue;
    ParseContentsPage(ManyItems(130), issue);
    EXPECT_EQ(Listed(issue).size(), 100u);
    EXPECT_EQ(issue.articles[99].title, Indented("T99"));
    EXPECT_EQ(issue.articles[99].link, "99.htm");
}

TEST(ContentsPage, StrayLinkAfterTheHundredthHasNoSlot)
{
    // Regression: a rejected element after a full list must not write past
    // the last slot.
    IssueRecord issue;
    ParseContentsPage(ManyItems(100) + "<li><a href=\"back.htm\">" + kBack + "</a></li>\n", issue);
    EXPECT_EQ(issue.articles[99].link, "99.htm");
}

}  // namespace
