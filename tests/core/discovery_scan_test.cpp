// SPDX-License-Identifier: GPL-3.0-or-later
// Issue discovery over real working directories: the folder scan, the
// request for a working directory and its stored value, the whole discovery.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "core/settings/settings_store.h"
#include "core/library/discovery.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/text1251.h"
#include "support/failing_save_calls.h"
#include "support/temp_dir.h"
#include "support/discovery_fake_host.h"

namespace {

using platform::registry::Key;

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

std::string Internal(const std::string& hostPath)
{
    return platform::paths::FromHost(hostPath);
}

std::string PatternOf(const TempDir& dir)
{
    return Internal(dir.path()) + "\\*";
}

Key SettingsKey()
{
    return platform::registry::CreateKey(kSettingsKey).value();
}

std::optional<std::string> StoredJournals()
{
    std::string data;
    if (platform::registry::QueryValue(Key(kSettingsKey), "Journals", 4096, data) !=
        platform::registry::QueryResult::Ok)
        return std::nullopt;
    return data;
}

class DiscoveryTest : public ::testing::Test {
protected:
    WorkingDirectoryRequests requests;

    PrivateProfile profile;
    FakeHost host;
    JournalCatalogue standard = StandardCatalogue();
};

TEST_F(DiscoveryTest, ScanAcceptsOnlyIssueFolders)
{
    TempDir dir;
    for (const char* folder : {"izone57", "izone57.old", "57", "myizone3", "ProtoPlex3", "Release24", "hacker5"})
        dir.MakeFolder(folder);
    dir.Write("izone60", "a file named like an issue");
    dir.Write("gold2", "");  // empty file: not a folder either
    JournalCatalogue catalogue = StandardCatalogue();

    std::optional<std::vector<std::string>> folders = ScanIssueFolders(catalogue, PatternOf(dir));

    ASSERT_TRUE(folders);
    std::vector<std::string> sorted = *folders;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{"izone57", "myizone3", "protoplex3", "release24"}));
    EXPECT_EQ(catalogue.entries[4].prefix, "protoplex");
}

TEST_F(DiscoveryTest, ScanOfMissingFolderIsNothing)
{
    TempDir dir;
    JournalCatalogue catalogue = StandardCatalogue();
    EXPECT_FALSE(ScanIssueFolders(catalogue, Internal(dir.Join("absent")) + "\\*"));
    std::optional<std::vector<std::string>> empty = ScanIssueFolders(catalogue, PatternOf(dir));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

TEST_F(DiscoveryTest, BuildGivesSortedIssuesWithCaptions)
{
    Library library;
    library.workPattern = "\\j\\*";
    BuildLibraryFrom(StandardCatalogue(), library, {"hacker5", "izone57", "release-gold2", "release24"});
    ASSERT_EQ(library.issueCount(), 4);
    ASSERT_EQ(library.issues.size(), 4u);
    EXPECT_EQ(library.folderNames, (std::vector<std::string>{"release-gold2", "release24", "izone57", "hacker5"}));
    EXPECT_EQ(library.issues[0].caption, "InternetZone-gold2");
    EXPECT_EQ(library.issues[2].caption, "InternetZone57");
    EXPECT_EQ(library.issues[3].caption, "");
    EXPECT_TRUE(library.issues[1].articles[0].title.empty());
    EXPECT_EQ(library.workPattern, "\\j\\*");
}

TEST_F(DiscoveryTest, ChosenIssueFolderStoresItsParent)
{
    TempDir dir;
    host.folderAnswers.push_back(Internal(dir.Join("izone57")));
    std::string pattern = "\\old\\*";

    EXPECT_EQ(ChooseWorkingDirectory(host, standard, SettingsKey(), requests, false, pattern), DiscoveryResult::Done);

    EXPECT_EQ(pattern, PatternOf(dir));
    EXPECT_EQ(StoredJournals(), PatternOf(dir));  // the bytes without a terminating zero
    ASSERT_EQ(host.browserTitles.size(), 1u);
    EXPECT_EQ(host.browserTitles[0], "\xC2\xFB\xE1\xE5\xF0\xE8\xF2\xE5 \xEF\xE0\xEF\xEA\xF3 \xF1 \xED\xEE\xEC\xE5\xF0"
                                     "\xE0\xEC\xE8 \xE6\xF3\xF0\xED\xE0\xEB\xEE\xE2");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(DiscoveryTest, CancelRewritesJournalsUnchanged)
{
    ASSERT_TRUE(platform::registry::SetValue(SettingsKey(), "Journals", platform::registry::ValueType::Sz,
                                             "\\somewhere\\else\\*"));
    std::string pattern = "\\home\\u\\journals\\*";
    EXPECT_EQ(ChooseWorkingDirectory(host, standard, SettingsKey(), requests, false, pattern), DiscoveryResult::Done);
    EXPECT_EQ(pattern, "\\home\\u\\journals\\*");
    EXPECT_EQ(StoredJournals(), "\\home\\u\\journals\\*");
}

TEST_F(DiscoveryTest, WriteFailureIsReportedAndPatternHolds)
{
    FailingHiveWrites failing;
    host.folderAnswers.push_back("\\home\\u\\journals");
    std::string pattern;

    ChooseWorkingDirectory(host, standard, Key(kSettingsKey), requests, false, pattern);

    EXPECT_EQ(pattern, "\\home\\u\\journals\\*");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, Cp1251("Ошибка записи в реестр!"));
    EXPECT_EQ(host.messages[0].caption, Cp1251("Ошибка"));
    EXPECT_EQ(host.messages[0].icon, platform::MessageIcon::Error);
    EXPECT_FALSE(StoredJournals());
}

TEST_F(DiscoveryTest, SixthRequestAsksNothing)
{
    std::string pattern = "\\j\\*";
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(ChooseWorkingDirectory(host, standard, SettingsKey(), requests, false, pattern), DiscoveryResult::Done);
    EXPECT_EQ(ChooseWorkingDirectory(host, standard, SettingsKey(), requests, false, pattern), DiscoveryResult::RequestLimitReached);
    EXPECT_EQ(host.browserTitles.size(), 5u);

    // The frame's command starts the count again; its request is the first.
    EXPECT_EQ(ChooseWorkingDirectory(host, standard, SettingsKey(), requests, true, pattern), DiscoveryResult::Done);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ChooseWorkingDirectory(host, standard, SettingsKey(), requests, false, pattern), DiscoveryResult::Done);
    EXPECT_EQ(ChooseWorkingDirectory(host, standard, SettingsKey(), requests, false, pattern), DiscoveryResult::RequestLimitReached);
    EXPECT_EQ(host.browserTitles.size(), 10u);
}

TEST_F(DiscoveryTest, StoredPatternIsReadInInternalForm)
{
    const std::pair<std::string, std::string> cases[] = {
        {"/home/u/journals/*", "\\home\\u\\journals\\*"},
        {"\\home\\u\\journals\\*", "\\home\\u\\journals\\*"},
        {std::string("\\a\\*\0junk", 9), "\\a\\*"},
        {"\\" + std::string(3000, 'x') + "\\*", "\\" + std::string(3000, 'x') + "\\*"},
        {std::string(5000, 'x'), ""},  // too long counts as missing
    };
    for (const auto& [stored, expected] : cases) {
        ASSERT_TRUE(platform::registry::SetValue(SettingsKey(), "Journals", platform::registry::ValueType::Sz, stored));
        EXPECT_EQ(settings::LoadWorkPattern(), expected) << stored.substr(0, 40);
    }
}

TEST_F(DiscoveryTest, MissingJournalsReadsEmpty)
{
    EXPECT_EQ(settings::LoadWorkPattern(), "");
    SettingsKey();
    EXPECT_EQ(settings::LoadWorkPattern(), "");
}

TEST_F(DiscoveryTest, DiscoveryUsesStoredWorkingDirectory)
{
    TempDir dir;
    for (const char* folder : {"izone58", "izone57", "gold3", "57"})
        dir.MakeFolder(folder);
    ASSERT_TRUE(platform::registry::SetValue(SettingsKey(), "Journals", platform::registry::ValueType::Sz,
                                             dir.path() + "/*"));
    JournalCatalogue catalogue = StandardCatalogue();
    Library library;

    EXPECT_EQ(DiscoverIssues(host, catalogue, library, "\\nowhere", requests), DiscoveryResult::Done);

    EXPECT_TRUE(host.browserTitles.empty());
    EXPECT_EQ(library.workPattern, PatternOf(dir));
    EXPECT_EQ(library.folderNames, (std::vector<std::string>{"gold3", "izone57", "izone58"}));
    ASSERT_EQ(library.issues.size(), 3u);
    EXPECT_EQ(library.issues[1].caption, "InternetZone57");
}

TEST_F(DiscoveryTest, FirstStartAsksOnceEvenWithIssuesInCurrentDirectory)
{
    TempDir dir;
    dir.MakeFolder("izone57");
    JournalCatalogue catalogue = StandardCatalogue();
    Library library;

    EXPECT_EQ(DiscoverIssues(host, catalogue, library, Internal(dir.path()), requests), DiscoveryResult::Done);

    EXPECT_EQ(host.browserTitles.size(), 1u);
    EXPECT_EQ(library.folderNames, std::vector<std::string>{"izone57"});
    EXPECT_EQ(StoredJournals(), PatternOf(dir));
}

TEST_F(DiscoveryTest, DiscoveryAsksUntilAFolderHoldsIssues)
{
    TempDir empty, journals;
    journals.MakeFolder("release24");
    host.folderAnswers = {Internal(empty.path()), Internal(journals.Join("release24"))};
    JournalCatalogue catalogue = StandardCatalogue();
    Library library;

    EXPECT_EQ(DiscoverIssues(host, catalogue, library, Internal(empty.Join("absent")), requests), DiscoveryResult::Done);

    EXPECT_EQ(host.browserTitles.size(), 2u);
    EXPECT_EQ(library.workPattern, PatternOf(journals));
    EXPECT_EQ(library.folderNames, std::vector<std::string>{"release24"});
    EXPECT_EQ(StoredJournals(), PatternOf(journals));
}

TEST_F(DiscoveryTest, MissingWorkingDirectoryEndsAfterFiveRequests)
{
    TempDir dir;
    ASSERT_TRUE(platform::registry::SetValue(SettingsKey(), "Journals", platform::registry::ValueType::Sz,
                                             Internal(dir.Join("gone")) + "\\*"));
    JournalCatalogue catalogue = StandardCatalogue();
    Library library;

    EXPECT_EQ(DiscoverIssues(host, catalogue, library, Internal(dir.path()), requests), DiscoveryResult::RequestLimitReached);
    EXPECT_EQ(host.browserTitles.size(), 5u);
}

}  // namespace

// A collection in a folder named like an issue is found at once; a folder
// without issues is named with the words looked for, the browser opens there,
// the catalogue can be mended from that message, and the limit says why the
// program ends.
TEST_F(DiscoveryTest, ChoiceFindsTheCollectionOrSaysWhyNot)
{
    TempDir root;
    const std::string card = root.Join("media/user-2/1A2B-3C4D"), nothing = root.Join("my-stuff2/journals");
    for (const std::string& folder : {card + "/izone57", card + "/hacker5", nothing + "/misc"})
        std::filesystem::create_directories(folder);
    const std::tuple<std::string, bool, std::vector<std::string>> cases[] = {
        {card, false, {"izone57"}}, {nothing, true, {"misc"}}, {nothing, false, {}}};
    for (const auto& [chosen, repairs, folders] : cases) {
        requests = WorkingDirectoryRequests{};
        ASSERT_TRUE(platform::registry::SetValue(SettingsKey(), "Journals", platform::registry::ValueType::Sz, ""));
        host = FakeHost{};
        host.folderAnswers = {Internal(chosen)};
        host.questionAnswer = repairs ? platform::MessageAnswer::Yes : platform::MessageAnswer::No;
        JournalCatalogue catalogue = StandardCatalogue();
        const CatalogueRepair repair = [&] { return catalogue.entries.push_back({"misc", "", "Misc"}), true; };
        Library library;
        const DiscoveryResult result = DiscoverIssues(host, catalogue, library, "", requests, repair);
        EXPECT_EQ(library.folderNames, folders) << chosen;
        EXPECT_EQ(result, folders.empty() ? DiscoveryResult::RequestLimitReached : DiscoveryResult::Done);
        EXPECT_EQ(host.browserTitles.size(), folders.empty() ? 5u : 1u);
        if (!folders.empty())
            continue;
        ASSERT_GE(host.messages.size(), 2u);
        EXPECT_NE(host.messages[0].text.find(nothing + "\n"), std::string::npos);
        EXPECT_NE(host.messages[0].text.find("release, gold, izone, protoplex."), std::string::npos);
        EXPECT_EQ(host.browserStarts[1], Internal(nothing));
        EXPECT_NE(host.messages.back().text.find(Cp1251("завершает работу")), std::string::npos);
    }
}
