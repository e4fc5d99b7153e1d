// SPDX-License-Identifier: GPL-3.0-or-later
// Which folder names are issues, what they are called, where their contents
// page is, in which order they stand and which folder a choice stands for.
#include <gtest/gtest.h>

#include "core/library/discovery.h"

namespace {

// The default table, written out so these rules are tested on their own.
JournalCatalogue StandardCatalogue()
{
    return JournalCatalogue{{
        {"release", ".\\pages\\materials.htm", "InternetZone"},
        {"release", ".\\frame\\left.htm", "InternetZone"},
        {"gold", ".\\frame\\left.htm", "InternetZone"},
        {"izone", ".\\frame\\left.htm", "InternetZone"},
        {"ProtoPlex", ".\\mainbody\\menu.html", "ProtoPlex"},
    }};
}

struct NameCase {
    const char* name;
    bool isIssue;
    const char* caption;
    const char* contentsPath;
};

TEST(DiscoveryRules, NamesCaptionsAndContentsPaths)
{
    const NameCase cases[] = {
        {"izone57", true, "InternetZone57", ".\\frame\\left.htm"},
        {"myizone3", true, "InternetZone3", ".\\frame\\left.htm"},
        {"release-gold5", true, "InternetZone-gold5", ".\\pages\\materials.htm"},
        {"release-gold", true, "InternetZone-gold", ".\\pages\\materials.htm"},
        {"release10", true, "InternetZone10", ".\\pages\\materials.htm"},
        {"release2", true, "InternetZone2", ".\\pages\\materials.htm"},
        {"release24", true, "InternetZone24", ".\\frame\\left.htm"},
        {"release5", true, "InternetZone5", ".\\frame\\left.htm"},
        {"gold3", true, "InternetZone3", ".\\frame\\left.htm"},
        {"protoplex3", true, "ProtoPlex3", ".\\mainbody\\menu.html"},
        {"57", false, "", ""},
        {"hacker5", false, "", ""},
    };
    JournalCatalogue catalogue = StandardCatalogue();
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsJournalFolder(catalogue, c.name), c.isIssue);
        EXPECT_EQ(IssueCaption(catalogue, c.name), c.caption);
        EXPECT_EQ(ContentsPathFor(catalogue, c.name), c.contentsPath);
    }
}

TEST(DiscoveryRules, MatchingLowersPrefixesInPlace)
{
    JournalCatalogue catalogue = StandardCatalogue();
    EXPECT_EQ(IssueCaption(catalogue, "protoplex3"), "");  // not lowered yet
    EXPECT_TRUE(IsJournalFolder(catalogue, "protoplex3"));
    EXPECT_EQ(catalogue.entries[4].prefix, "protoplex");
    EXPECT_EQ(catalogue.entries[4].displayName, "ProtoPlex");

    // Cyrillic prefixes go through the 1251 case table: "Журнал" to "журнал".
    JournalCatalogue cyrillic{{{"\xC6\xF3\xF0\xED\xE0\xEB", ".\\a.htm", "J"}}};
    EXPECT_TRUE(IsJournalFolder(cyrillic, "\xE6\xF3\xF0\xED\xE0\xEB" "7"));
    EXPECT_EQ(cyrillic.entries[0].prefix, "\xE6\xF3\xF0\xED\xE0\xEB");
}

TEST(DiscoveryRules, EmptyPrefixMatchesEveryName)
{
    JournalCatalogue catalogue{{{"", ".\\toc.htm", "Any"}, {"izone", ".\\frame\\left.htm", "InternetZone"}}};
    EXPECT_TRUE(IsJournalFolder(catalogue, "hacker5"));
    EXPECT_EQ(IssueCaption(catalogue, "izone57"), "Anyizone57");
    EXPECT_EQ(ContentsPathFor(catalogue, "izone57"), ".\\frame\\left.htm");  // the last match wins
    EXPECT_EQ(ContentsPathFor(catalogue, "hacker5"), ".\\toc.htm");
}

TEST(DiscoveryRules, EmptyCatalogueHasNoIssues)
{
    JournalCatalogue catalogue;
    EXPECT_FALSE(IsJournalFolder(catalogue, "izone57"));
    EXPECT_EQ(IssueCaption(catalogue, "izone57"), "");
    EXPECT_EQ(ContentsPathFor(catalogue, "izone57"), "");
}

TEST(DiscoveryRules, SortPutsJournalsInLibraryOrder)
{
    std::vector<std::string> names{"gold3",      "hacker5",       "izone57",   "izone58",
                                   "protoplex1", "release-gold2", "release24", "release25"};
    SortIssueFolders(names);
    EXPECT_EQ(names, (std::vector<std::string>{"release-gold2", "gold3", "release24", "release25", "izone57",
                                               "izone58", "protoplex1", "hacker5"}));
}

TEST(DiscoveryRules, SortComparesNumbersAsText)
{
    std::vector<std::string> names{"izone57", "izone8", "release10", "release9", "release24"};
    SortIssueFolders(names);
    EXPECT_EQ(names, (std::vector<std::string>{"release10", "release24", "release9", "izone57", "izone8"}));
}

TEST(DiscoveryRules, SortResultDependsOnStartingOrder)
{
    // The listing delivers names in lower-cased byte order; from another
    // start the same passes give another order.
    std::vector<std::string> names{"izone57", "release24", "release-gold2", "hacker5"};
    SortIssueFolders(names);
    EXPECT_EQ(names, (std::vector<std::string>{"release24", "hacker5", "release-gold2", "izone57"}));
}

TEST(DiscoveryRules, SortComparesBytesUnsigned)
{
    // A Cyrillic name (bytes above 0x7F) sorts after the Latin ones.
    std::vector<std::string> names{"\xE6\xF3\xF0\xED\xE0\xEB" "1", "hacker5", "", "abc"};
    SortIssueFolders(names);
    EXPECT_EQ(names, (std::vector<std::string>{"", "abc", "hacker5", "\xE6\xF3\xF0\xED\xE0\xEB" "1"}));
    std::vector<std::string> none;
    SortIssueFolders(none);
    EXPECT_TRUE(none.empty());
}

TEST(DiscoveryRules, ChosenFolderBecomesWorkPattern)
{
    const std::pair<const char*, const char*> cases[] = {
        {"D:\\journals\\izone57", "D:\\journals\\*"},
        {"D:\\journals", "D:\\journals\\*"},
        {"D:\\my-journals", "D:\\*"},
        {"E:\\", "E:\\\\*"},
        {"\\media\\user\\1A2B-3C4D\\journals", "\\media\\user\\1A2B-3C4D\\journals\\*"},
        {"\\home\\user2\\journals", "\\home\\user2\\journals\\*"},
        {"\\home\\user\\journals\\release-gold2", "\\home\\user\\journals\\*"},
        {"\\home\\user\\5", "\\home\\user\\5\\*"},  // a digit in first place only
        {"\\", "\\\\*"},
        {"izone57", "izone57\\*"},  // no parent to stand for
    };
    for (const auto& [chosen, pattern] : cases)
        EXPECT_EQ(NormalizeWorkPattern(chosen), pattern) << chosen;
}

TEST(DiscoveryRules, FolderPathReplacesTheStar)
{
    EXPECT_EQ(FolderPath("D:\\journals\\*", "izone57"), "D:\\journals\\izone57");
    EXPECT_EQ(FolderPath("E:\\\\*", "gold3"), "E:\\\\gold3");
    EXPECT_EQ(FolderPath("\\j", "gold3"), "\\j\\gold3");
}

}  // namespace
