// SPDX-License-Identifier: GPL-3.0-or-later
// The favourites operations: adding and removing with exact-size arrays,
// failed copies, the stored-link rules, the cleaning of texts, what the
// flows store surviving the file, and Windows paths from other machines.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <variant>
#include <vector>

#include "core/favorites/favorites_ops.h"
#include "core/favorites/favorites_store.h"

namespace {

/// Sections as names with their titles.
using Shape = std::vector<std::pair<std::string, std::vector<std::string>>>;

FavoritesStore StoreOf(const Shape& shape)
{
    FavoritesStore store;
    store.sections.reserve(shape.size());
    for (const auto& [name, titles] : shape) {
        TSelectedFolder section{name, {}};
        section.articles.reserve(titles.size());
        for (const std::string& title : titles)
            section.articles.push_back({title, "L:" + title, kMarkPlain, {}});
        store.sections.push_back(std::move(section));
    }
    return store;
}

Shape ShapeOf(const FavoritesStore& store)
{
    Shape shape;
    for (const TSelectedFolder& section : store.sections) {
        std::vector<std::string> titles;
        for (const TSelected& article : section.articles)
            titles.push_back(article.title);
        shape.emplace_back(section.name, titles);
    }
    return shape;
}

bool ExactSizes(const FavoritesStore& store)
{
    if (store.sections.capacity() != store.sections.size())
        return false;
    for (const TSelectedFolder& section : store.sections)
        if (section.articles.capacity() != section.articles.size())
            return false;
    return true;
}

struct Add {
    std::string name, title;
    AddOutcome expected;
};
struct Remove {
    std::size_t section, article;
    bool sectionRemoved;
};
using Step = std::variant<Add, Remove>;

struct OpCase {
    const char* name;
    Shape before;
    std::vector<Step> steps;
    Shape after;
};

class FavoritesOpsTest : public ::testing::TestWithParam<OpCase> {};

TEST_P(FavoritesOpsTest, ChangesTheStoreWithExactSizeArrays)
{
    FavoritesStore store = StoreOf(GetParam().before);
    std::vector<std::string> reports;
    const MemHooks hooks{[&](const std::string& text) { reports.push_back(text); }, {}};
    for (const Step& step : GetParam().steps) {
        if (const auto* add = std::get_if<Add>(&step)) {
            EXPECT_EQ(AddFavorite(store, add->name, add->title, "link", hooks).outcome, add->expected) << add->title;
        } else {
            const auto& remove = std::get<Remove>(step);
            EXPECT_EQ(RemoveFavorite(store, remove.section, remove.article, hooks), remove.sectionRemoved);
        }
        EXPECT_TRUE(ExactSizes(store));
    }
    EXPECT_EQ(ShapeOf(store), GetParam().after);
    EXPECT_TRUE(reports.empty());
    for (const TSelectedFolder& section : store.sections)
        for (const TSelected& article : section.articles)
            EXPECT_EQ(article.mark, kMarkPlain);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FavoritesOpsTest,
    ::testing::Values(
        OpCase{"AddToEmptyStore", {}, {Add{"Reading", "T1", AddOutcome::Added}}, {{"Reading", {"T1"}}}},
        OpCase{"NewNameAppendsASection",
               {{"A", {"T1"}}},
               {Add{"B", "T2", AddOutcome::Added}, Add{"A", "T3", AddOutcome::Added}},
               {{"A", {"T1", "T3"}}, {"B", {"T2"}}}},
        OpCase{"DuplicateRefusedInItsSectionAcceptedInAnother",
               {{"A", {"T1"}}, {"B", {"T2"}}},
               {Add{"A", "T1", AddOutcome::Duplicate}, Add{"B", "T1", AddOutcome::Added}},
               {{"A", {"T1"}}, {"B", {"T2", "T1"}}}},
        OpCase{"NamesDifferingInCaseAreTwoSections",
               {{"Reading", {"T1"}}},
               {Add{"reading", "T1", AddOutcome::Added}},
               {{"Reading", {"T1"}}, {"reading", {"T1"}}}},
        OpCase{"EmptyNameNamesASection",
               {},
               {Add{"", "T1", AddOutcome::Added}, Add{"", "T2", AddOutcome::Added}},
               {{"", {"T1", "T2"}}}},
        OpCase{"AnnotationIsPartOfTheDuplicateTest",
               {{"A", {"T\r\none"}}},
               {Add{"A", "T\r\ntwo", AddOutcome::Added}, Add{"A", "T\r\none", AddOutcome::Duplicate}},
               {{"A", {"T\r\none", "T\r\ntwo"}}}},
        OpCase{"DuplicateTestComparesTheCleanedTitle",
               {},
               {Add{"A", "x\ry", AddOutcome::Added}, Add{"A", "x\ry", AddOutcome::Duplicate}},
               {{"A", {"x y"}}}},
        OpCase{"TerminatingEntryIsNeverAdded", {}, {Add{"A", "", AddOutcome::Refused}}, {}},
        OpCase{"RemoveKeepsTheOrder",
               {{"A", {"T1", "T2", "T3"}}},
               {Remove{0, 1, false}},
               {{"A", {"T1", "T3"}}}},
        OpCase{"RemovingTheLastArticleRemovesTheSection",
               {{"A", {"T1"}}, {"B", {"T2"}}, {"C", {"T3"}}},
               {Remove{1, 0, true}},
               {{"A", {"T1"}}, {"C", {"T3"}}}},
        OpCase{"RemovingTheOnlyArticleEmptiesTheStore", {{"A", {"T1"}}}, {Remove{0, 0, true}}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A copy that fails is reported once, with the index being copied and the old
// count; the rest of the new array stays empty. What is left must still make
// a file that reads back field for field: an empty record would shift all
// later fields.
struct FailureCase {
    const char* name;
    Shape before;
    std::size_t failingIndex;
    std::function<void(FavoritesStore&, const MemHooks&)> operation;
    std::string report;
    Shape after;
};

class FavoritesCopyFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FavoritesCopyFailureTest, ReportsOnceAndLeavesAStoreTheFileCanHold)
{
    FavoritesStore store = StoreOf(GetParam().before);
    std::vector<std::string> reports;
    MemHooks hooks{[&](const std::string& text) { reports.push_back(text); },
                   [&](std::size_t i) {
                       if (i == GetParam().failingIndex)
                           throw std::bad_alloc();
                   }};
    GetParam().operation(store, hooks);
    EXPECT_EQ(reports, std::vector<std::string>{GetParam().report});
    EXPECT_EQ(ShapeOf(store), GetParam().after);
    EXPECT_TRUE(ExactSizes(store));

    Shape storable;
    for (const auto& [name, titles] : GetParam().after) {
        std::vector<std::string> kept;
        for (const std::string& title : titles)
            if (!title.empty())
                kept.push_back(title);
        if (!kept.empty())
            storable.emplace_back(name, kept);
    }
    bool damaged = true;
    EXPECT_EQ(ShapeOf(ParseFavorites(SerializeFavorites(store), &damaged)), storable);
    EXPECT_FALSE(damaged);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FavoritesCopyFailureTest,
    ::testing::Values(
        FailureCase{"ArticleGrow",
                    {{"A", {"T1", "T2", "T3"}}},
                    1,
                    [](FavoritesStore& s, const MemHooks& h) { AddMemArticleGrow(s.sections[0], h); },
                    "AddFolder/AddMem/TSelected   i = 1  old = 3",
                    {{"A", {"T1", "", "", ""}}}},
        FailureCase{"ArticleRemoveReportsUnderTheSectionPattern",
                    {{"A", {"T1", "T2", "T3"}}},
                    2,
                    [](FavoritesStore& s, const MemHooks& h) { AddMemArticleRemove(s.sections[0], 0, h); },
                    "AddFolder/AddMem/TSelectedFolder   i = 2  old = 3",
                    {{"A", {"T2", ""}}}},
        FailureCase{"SectionGrowKeepsTheArticlesOfSectionsThatLostTheirName",
                    {{"A", {"T1"}}, {"B", {"T2"}}},
                    1,
                    [](FavoritesStore& s, const MemHooks& h) { AddMemSectionGrow(s, h); },
                    "AddFolder/AddMem/TSelectedFolder   i = 1  old = 2",
                    {{"A", {"T1"}}, {"", {"T2"}}, {"", {}}}},
        FailureCase{"FailedCopyDuringAddStillSavesTheNewFavourite",
                    {{"A", {"T1", "T2"}}},
                    0,
                    [](FavoritesStore& s, const MemHooks& h) { AddFavorite(s, "A", "T3", "l", h); },
                    "AddFolder/AddMem/TSelected   i = 0  old = 2",
                    {{"A", {"", "", "T3"}}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct LinkCase {
    const char* name;
    std::string workPattern;
    std::string link;
    std::string stored;
};

class FavoriteStoredLinkTest : public ::testing::TestWithParam<LinkCase> {};

TEST_P(FavoriteStoredLinkTest, FollowsTheFirstRuleThatApplies)
{
    Library library;
    library.workPattern = GetParam().workPattern;
    library.folderNames = {"gold3", "izone57"};
    EXPECT_EQ(StoredLinkFor(library, 1, GetParam().link), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FavoriteStoredLinkTest,
    ::testing::Values(
        LinkCase{"HttpAnywhereUnchanged", "D:\\journals\\*", "../x/http.htm", "../x/http.htm"},
        LinkCase{"FileSchemeUnchanged", "D:\\journals\\*", "file:///c:/a.htm", "file:///c:/a.htm"},
        LinkCase{"EmptyIsTheIssuesIndex", "D:\\journals\\*", "", "D:\\journals\\izone57\\index.htm"},
        LinkCase{"ParentLinkInsideTheIssue", "D:\\journals\\*", "../text/a1.htm",
                 "D:\\journals\\izone57\\text\\a1.htm"},
        LinkCase{"DoubleParentGivesDoubledSeparator", "D:\\journals\\*", "../../x.htm", "D:\\journals\\izone57\\\\x.htm"},
        // A favourite opens what opening the entry opened.
        LinkCase{"MainPageAsOpened", "D:\\journals\\*", "main.htm", "D:\\journals\\izone57\\frame\\main.htm"},
        LinkCase{"BossFolderForMiAsOpened", "D:\\admin\\journals\\*", "a.htm",
                 "D:\\admin\\journals\\izone57\\boss\\a.htm"},
        LinkCase{"OtherLinkJoinedWithSeparator", "D:\\journals\\*", "pages/a.htm#top",
                 "D:\\journals\\izone57\\pages/a.htm#top"},
        LinkCase{"LineBreaksBecomeBlanks", "D:\\journals\\*", "http://e.org/\r\nx", "http://e.org/  x"}),
    [](const auto& info) { return std::string(info.param.name); });

struct CleanCase {
    const char* name;
    std::string title;
    std::string clean;
};

class FavoriteTitleCleaningTest : public ::testing::TestWithParam<CleanCase> {};

TEST_P(FavoriteTitleCleaningTest, StoresWhatReadsBackUnchanged)
{
    const std::string clean = CleanFavoriteTitle(GetParam().title);
    EXPECT_EQ(clean, GetParam().clean);
    FavoritesStore store;
    store.sections.push_back({"S", {{clean, "l", kMarkPlain, {}}, {"next", "m", kMarkPlain, {}}}});
    bool damaged = true;
    const FavoritesStore loaded = ParseFavorites(SerializeFavorites(store), &damaged);
    EXPECT_FALSE(damaged);
    EXPECT_EQ(ShapeOf(loaded), ShapeOf(store));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FavoriteTitleCleaningTest,
    ::testing::Values(CleanCase{"PlainTitleUnchanged", "     Title", "     Title"},
                      CleanCase{"AnnotationKept", "T\r\nann", "T\r\nann"},
                      CleanCase{"LoneCr", "a\rb", "a b"},
                      CleanCase{"LoneLf", "a\nb", "a b"},
                      CleanCase{"CrBeforePair", "a\r\r\nb", "a \r\nb"},
                      CleanCase{"EmptyLineInside", "a\r\n\r\nb", "a\r\n b"},
                      CleanCase{"NeverBeginsWithCrLf", "\r\nb", " \r\nb"},
                      CleanCase{"TrailingCrLf", "a\r\n", "a\r\n "},
                      CleanCase{"LaterLinesJoinedAsTheFileJoinsThem", "a\r\nb\r\nc", "a\r\nbc"},
                      CleanCase{"ZeroByte", std::string("\0a\r\n\0b", 6), " a\r\n b"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FavoritesOps, EverythingTheFlowsStoreSurvivesSaveAndLoad)
{
    const std::vector<std::string> names = {"Name", "", "name", "a\rb\nc", std::string("z\0z", 3), std::string(3000, 'x')};
    const std::vector<std::string> titles = {"     T", "T\r\nA", "t\rx", "\r\n", "\r\n\r\n", "a\r\nb\r\nc\r\n",
                                             std::string("\0", 1), "x\n"};
    FavoritesStore store;
    for (const std::string& name : names)
        for (const std::string& title : titles)
            ASSERT_EQ(AddFavorite(store, name, title, "D:\\a\r\n" + title, {}).outcome, AddOutcome::Added)
                << name << "/" << title;
    bool damaged = true;
    const FavoritesStore loaded = ParseFavorites(SerializeFavorites(store), &damaged);
    EXPECT_FALSE(damaged);
    ASSERT_EQ(ShapeOf(loaded), ShapeOf(store));
    for (std::size_t s = 0; s < store.sections.size(); ++s)
        for (std::size_t a = 0; a < store.sections[s].articles.size(); ++a)
            EXPECT_EQ(loaded.sections[s].articles[a].link, store.sections[s].articles[a].link);
}

struct WindowsPathCase {
    const char* name;
    std::string link;
    std::set<std::string> existing;
    std::string opened;
};

class FavoriteWindowsPathTest : public ::testing::TestWithParam<WindowsPathCase> {};

TEST_P(FavoriteWindowsPathTest, OpensTheSamePageUnderTheWorkingDirectoryOrSaysWhyNot)
{
    Library library;
    library.workPattern = "\\home\\u\\journals\\*";
    library.folderNames = {"gold3", "izone57"};
    const auto exists = [&](const std::string& path) { return GetParam().existing.count(path) > 0; };
    const StoredLinkToOpen decision = LinkToOpen(library, GetParam().link, exists);
    EXPECT_EQ(decision.link.value_or("<nothing>"), GetParam().opened);
    EXPECT_EQ(decision.refusal.empty(), decision.link.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FavoriteWindowsPathTest,
    ::testing::Values(
        WindowsPathCase{"MappedWhenThePageIsHere",
                        "D:\\journals\\IZONE57\\text\\a1.htm",
                        {"\\home\\u\\journals\\izone57\\text\\a1.htm"},
                        "\\home\\u\\journals\\izone57\\text\\a1.htm"},
        WindowsPathCase{"UnchangedWhenItExistsAsWritten",
                        "D:\\journals\\izone57\\a.htm",
                        {"D:\\journals\\izone57\\a.htm", "\\home\\u\\journals\\izone57\\a.htm"},
                        "D:\\journals\\izone57\\a.htm"},
        WindowsPathCase{"NothingWhenThePageIsNotHere", "D:\\journals\\izone57\\a.htm", {}, "<nothing>"},
        WindowsPathCase{"NothingWithoutAnIssueFolder", "D:\\journals\\other\\a.htm",
                        {"\\home\\u\\journals\\other\\a.htm"}, "<nothing>"},
        WindowsPathCase{"NetworkPathMapped", "\\\\server\\share\\izone57\\text\\a1.htm",
                        {"\\home\\u\\journals\\izone57\\text\\a1.htm"}, "\\home\\u\\journals\\izone57\\text\\a1.htm"},
        WindowsPathCase{"FileUrlMapped", "file:///C:/Journals/izone57/text/a%201.htm",
                        {"\\home\\u\\journals\\izone57\\text\\a 1.htm"}, "\\home\\u\\journals\\izone57\\text\\a 1.htm"},
        WindowsPathCase{"NetworkPathNotHere", "\\\\server\\share\\izone57\\a.htm", {}, "<nothing>"},
        WindowsPathCase{"EmptyLinkOpensNothing", "", {}, "<nothing>"},
        WindowsPathCase{"AddressUnchanged", "http://example.org/a.htm", {}, "http://example.org/a.htm"},
        WindowsPathCase{"InnermostIssueFolderWins",
                        "C:\\gold3\\izone57\\a.htm",
                        {"\\home\\u\\journals\\izone57\\a.htm", "\\home\\u\\journals\\gold3\\izone57\\a.htm"},
                        "\\home\\u\\journals\\izone57\\a.htm"},
        WindowsPathCase{"NotADrivePath", "\\journals\\izone57\\a.htm", {"\\home\\u\\journals\\izone57\\a.htm"},
                        "\\journals\\izone57\\a.htm"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
