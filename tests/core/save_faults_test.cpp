// SPDX-License-Identifier: GPL-3.0-or-later
// What a failed or interrupted save leaves behind: the favourites file and the
// settings hive are either the old file or the new one, never a mix, never
// empty; a full disk is reported as a failure.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "core/settings/settings_store.h"
#include "core/favorites/favorites_file.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "support/failing_save_calls.h"
#include "support/temp_dir.h"

namespace reg = platform::registry;

namespace {

FavoritesStore StoreOf(int articles)
{
    FavoritesStore store;
    TSelectedFolder& section = store.sections.emplace_back();
    section.name = "Section";
    for (int i = 0; i < articles; ++i)
        section.articles.push_back({"Title " + std::to_string(i) + "\r\nAnnotation", "C:\\j\\a.htm"});
    return store;
}

/// One way of saving: write `which` (0 or 1) of two contents, and read back
/// which of them the file holds (-1 for neither).
struct Saver {
    const char* name;
    std::function<bool(int which)> save;
    std::function<int()> holds;
};

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class SaveFaults : public testing::Test {
protected:
    PrivateProfile profile;
    TempDir dir;
    const std::string favoritesPath = dir.Join("SelFold.dat");
    const std::string bigValue = std::string(300000, 'a');

    std::vector<Saver> Savers()
    {
        return {
            {"favourites",
             [this](int which) {
                 FavoritesStore store;
                 return FavoritesFile(favoritesPath)
                            .Apply(store, [which](FavoritesStore& s) { s = StoreOf(which ? 3 : 2000); })
                            .trouble == FavoritesTrouble::None;
             },
             [this] {
                 const std::string bytes = dir.Read("SelFold.dat");
                 return bytes == SerializeFavorites(StoreOf(2000)) ? 0
                        : bytes == SerializeFavorites(StoreOf(3))  ? 1
                                                                   : -1;
             }},
            {"hive",
             [this](int which) {
                 const auto key = reg::CreateKey(kSettingsKey);
                 return key && reg::SetValue(*key, "Big", reg::ValueType::Binary, which ? "b" : bigValue);
             },
             [this] {
                 const auto key = reg::OpenKey(kSettingsKey);
                 std::string data;
                 if (!key || reg::QueryValue(*key, "Big", 1 << 20, data) != reg::QueryResult::Ok)
                     return -1;
                 return data == bigValue ? 0 : data == "b" ? 1 : -1;
             }},
        };
    }
};

}  // namespace

TEST_F(SaveFaults, FullDiskKeepsTheOldFileAndIsReported)
{
    for (const Saver& saver : Savers()) {
        SCOPED_TRACE(saver.name);
        ASSERT_TRUE(saver.save(1));
        const std::string folder = std::filesystem::path(saver.name == std::string("hive") ? reg::HivePath()
                                                                                          : favoritesPath)
                                       .parent_path();
        const std::vector<std::string> before = FilesIn(folder);
        bool saved = true;
        {
            FullDisk full;
            saved = saver.save(0);
        }
        EXPECT_FALSE(saved);
        EXPECT_EQ(saver.holds(), 1);
        EXPECT_EQ(FilesIn(folder), before) << "a temporary file was left behind";
    }
}

// A child saves the two contents in turn until it is killed at a random
// moment; the file must then hold one of them whole.
TEST_F(SaveFaults, KilledInTheMiddleOfSavingLeavesOneWholeFile)
{
    std::mt19937 random(7);
    for (const Saver& saver : Savers()) {
        SCOPED_TRACE(saver.name);
        ASSERT_TRUE(saver.save(1));
        for (int round = 0; round < 25; ++round) {
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                for (int i = 0;; ++i)
                    saver.save(i % 2);
            }
            std::this_thread::sleep_for(std::chrono::microseconds(2000 + random() % 30000));
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            ASSERT_NE(saver.holds(), -1) << "round " << round;
            ASSERT_TRUE(saver.save(round % 2)) << "the dead child's lock blocks the next save";
        }
        ASSERT_TRUE(saver.save(0) && saver.save(1));  // one writes, removing what killed saves left
        const std::string file = saver.name == std::string("hive") ? reg::HivePath() : favoritesPath;
        for (const std::string& name : FilesIn(std::filesystem::path(file).parent_path()))
            EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
    }
}
