// SPDX-License-Identifier: GPL-3.0-or-later
// The registry hive file: keys, exact values, concurrent writers and damaged
// hives, each test in a private profile.
#include "platform/registry.h"

#include "support/failing_save_calls.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

using namespace platform::registry;
namespace fs = std::filesystem;

namespace {

const std::string kSettings = "Software\\Vestrels\\Quillbox\\Settings";
const std::string kSection = "[HKEY_CURRENT_USER\\Software\\Vestrels\\Quillbox\\Settings]\n";

std::optional<std::string> Read(const Key& key, const std::string& name, std::size_t capacity = 4096)
{
    std::string data = "stale";
    const QueryResult result = QueryValue(key, name, capacity, data);
    if (result != QueryResult::Ok) {
        EXPECT_TRUE(data.empty());
        return std::nullopt;
    }
    return data;
}

}  // namespace

TEST(PlatformRegistry, ExactBytesRoundTripForEveryType)
{
    PrivateProfile profile;
    const auto key = CreateKey(kSettings);
    ASSERT_TRUE(key);
    struct Case {
        const char* name;
        ValueType type;
        std::string data;
    };
    std::string longBinary(300, '\0');
    for (std::size_t i = 0; i < longBinary.size(); ++i)
        longBinary[i] = static_cast<char>(i * 7);
    const Case cases[] = {
        {"Toolbar", ValueType::Sz, "10"},  // no terminating zero
        {"Terminated", ValueType::Sz, std::string("abc\0", 4)},
        {"Control", ValueType::Sz, std::string("\0\r\n\xff", 4)},
        {"Empty", ValueType::Sz, ""},
        {"NameFont", ValueType::MultiSz, std::string("Arial\0Ms Sans Serif\0\0", 22)},
        {"LogFont_1", ValueType::Binary, std::string("\x10\0\0\0\xbc\x02\r\n\xff\0", 10)},
        {"Long", ValueType::Binary, longBinary},
        {"NumNameJournals", ValueType::Dword, std::string("\x0a\0\0\xff", 4)},
        {"ShortDword", ValueType::Dword, "\x01\x02"},
        {"Title", ValueType::Sz, "\xCF\xF0\xE8\xE2\xE5\xF2 \x98"},
    };
    for (const Case& c : cases)
        ASSERT_TRUE(SetValue(*key, c.name, c.type, c.data)) << c.name;
    for (const Case& c : cases)
        EXPECT_EQ(Read(*key, c.name), c.data) << c.name;

    const std::string hive = profile.HiveBytes();
    EXPECT_TRUE(hive.starts_with("REGEDIT4\n\n" + kSection + "\"Toolbar\"=hex(1):31,30\n"));
    EXPECT_NE(hive.find("\"NumNameJournals\"=dword:ff00000a\n"), std::string::npos);
    EXPECT_NE(hive.find("\"ShortDword\"=hex(4):01,02\n"), std::string::npos);
    EXPECT_NE(hive.find("\"NameFont\"=hex(7):41,72"), std::string::npos);
    EXPECT_NE(hive.find("\"LogFont_1\"=hex(3):10,00"), std::string::npos);
    EXPECT_NE(hive.find(",\\\n  "), std::string::npos) << "long values are wrapped";
}

TEST(PlatformRegistry, KeysOpenOnlyWhenPresent)
{
    PrivateProfile profile;
    EXPECT_FALSE(OpenKey(kSettings)) << "no hive yet";
    EXPECT_FALSE(fs::exists(HivePath())) << "reads create nothing";
    ASSERT_TRUE(CreateKey(kSettings));
    EXPECT_EQ(profile.HiveBytes(), "REGEDIT4\n\n" + kSection + "\n");
    EXPECT_TRUE(OpenKey(kSettings));
    EXPECT_TRUE(OpenKey("software\\VESTRELS\\quillbox\\settings"));
    EXPECT_TRUE(OpenKey("Software\\Vestrels")) << "a parent of a stored key exists";
    EXPECT_FALSE(OpenKey("Software\\Vestrels\\Quillbox\\Other"));
    EXPECT_FALSE(OpenKey("Software\\Vest"));
}

TEST(PlatformRegistry, NamesMatchCaseInsensitivelyAndKeepTheirSpelling)
{
    PrivateProfile profile;
    const auto key = CreateKey(kSettings);
    ASSERT_TRUE(key);
    ASSERT_TRUE(SetValue(*key, "LeftShare", ValueType::Sz, "2.000000"));
    EXPECT_EQ(Read(Key("SOFTWARE\\vestrels\\Quillbox\\SETTINGS"), "leftshare"), "2.000000");
    ASSERT_TRUE(SetValue(*key, "LEFTSHARE", ValueType::Sz, "3.000000"));
    EXPECT_EQ(Read(*key, "LeftShare"), "3.000000");
    const std::string hive = profile.HiveBytes();
    // As on Windows, overwriting a value keeps the spelling it was created with.
    EXPECT_NE(hive.find("\"LeftShare\"=hex(1):33,"), std::string::npos) << hive;
    EXPECT_EQ(hive.find("LEFTSHARE"), std::string::npos) << hive;
}

TEST(PlatformRegistry, CapacityAndMissingValues)
{
    PrivateProfile profile;
    const auto key = CreateKey(kSettings);
    ASSERT_TRUE(key);
    ASSERT_TRUE(SetValue(*key, "Size", ValueType::Sz, "10 20 300 400"));
    std::string data;
    EXPECT_EQ(QueryValue(*key, "Size", 13, data), QueryResult::Ok);
    EXPECT_EQ(data, "10 20 300 400");
    EXPECT_EQ(QueryValue(*key, "Size", 12, data), QueryResult::MoreData);
    EXPECT_TRUE(data.empty());
    EXPECT_EQ(QueryValue(*key, "Absent", 100, data), QueryResult::Missing);
    EXPECT_EQ(QueryValue(Key("Software\\Nowhere"), "Size", 100, data), QueryResult::Missing);
}

TEST(PlatformRegistry, HandEditedFile)
{
    PrivateProfile profile;
    const std::string head =
        "REGEDIT4\r\n\r\n; edited by hand\r\n"
        "[HKEY_CURRENT_USER\\Software\\Vestrels\\Quillbox\\Settings]\r\n"
        "\"Journals\"=\"D:\\\\journals\\\\*\"\r\n"
        "\"Caption\"=\"\xD0\x96\xD1\x83\xD1\x80\xD0\xBD\xD0\xB0\xD0\xBB \\\"X\\\"\"\r\n"
        "\"LogFont_1\"=hex:10,00,00,00,\\\r\n"
        "  bc,02,00,00\r\n"
        "\"NumNameJournals\"=dword:00000003\r\n";
    const std::string tail = "\r\n[HKEY_LOCAL_MACHINE\\Software\\Kept]\r\n\"x\"=hex:01\r\n";
    profile.dir().Write("Vestrels/registry.reg", head + tail);
    const auto key = OpenKey(kSettings);
    ASSERT_TRUE(key);
    EXPECT_EQ(Read(*key, "Journals"), "D:\\journals\\*");
    EXPECT_EQ(Read(*key, "Caption"), "\xC6\xF3\xF0\xED\xE0\xEB \"X\"");
    EXPECT_EQ(Read(*key, "LogFont_1"), std::string("\x10\0\0\0\xbc\x02\0\0", 8));
    EXPECT_EQ(Read(*key, "NumNameJournals"), std::string("\x03\0\0\0", 4));

    // A write adds its own line in the file's line ends; the others stay as typed.
    ASSERT_TRUE(SetValue(*key, "Toolbar", ValueType::Sz, "11"));
    EXPECT_EQ(profile.HiveBytes(), head + "\"Toolbar\"=hex(1):31,31\r\n" + tail);
}

TEST(PlatformRegistry, TwoProcessesWritingAtOnceLoseNothing)
{
    PrivateProfile profile;
    ASSERT_TRUE(CreateKey(kSettings));
    constexpr int kPerWriter = 60;
    pid_t children[2];
    for (int writer = 0; writer < 2; ++writer) {
        children[writer] = fork();
        ASSERT_GE(children[writer], 0);
        if (children[writer] == 0) {
            int failures = 0;
            for (int i = 0; i < kPerWriter; ++i) {
                const std::string name = "W" + std::to_string(writer) + "_" + std::to_string(i);
                failures += !SetValue(Key(kSettings), name, ValueType::Sz, name + " data");
            }
            _exit(failures == 0 ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a write failed in the child";
    }
    const auto key = OpenKey(kSettings);
    ASSERT_TRUE(key);
    for (int writer = 0; writer < 2; ++writer) {
        for (int i = 0; i < kPerWriter; ++i) {
            const std::string name = "W" + std::to_string(writer) + "_" + std::to_string(i);
            EXPECT_EQ(Read(*key, name), name + " data") << name;
        }
    }
    EXPECT_FALSE(fs::exists(HivePath() + ".tmp"));
}

// Regression: one bad line made the whole hive read as missing, and the first
// write moved it aside, so that every setting was lost.
TEST(PlatformRegistry, OneBadLineCostsOnlyItsValueAndIsKeptAsideOnceWhenDropped)
{
    PrivateProfile profile;
    const std::string hive = "Vestrels/registry.reg";
    const auto bad = [](const std::string& name) { return "\"" + name + "\"=hex(1):31,3x\n"; };
    profile.dir().Write(hive, "REGEDIT4\n\n" + kSection + bad("Toolbar") + "\"Size\"=hex(1):31\n" + bad("LeftShare"));
    const auto key = OpenKey(kSettings);
    ASSERT_TRUE(key);
    EXPECT_EQ(Read(*key, "Size"), "1");
    EXPECT_FALSE(Read(*key, "Toolbar"));

    // Writing another value keeps the bad lines where they stood; nothing is lost, nothing copied.
    ASSERT_TRUE(SetValue(*key, "Size", ValueType::Sz, "2"));
    const std::string beforeDrop =
        "REGEDIT4\n\n" + kSection + bad("Toolbar") + "\"Size\"=hex(1):32\n" + bad("LeftShare");
    EXPECT_EQ(profile.HiveBytes(), beforeDrop);
    EXPECT_FALSE(fs::exists(HivePath() + ".damaged"));

    // Writing over a bad line drops it: the hive is copied aside first, once
    // for all the bad lines it holds.
    ASSERT_TRUE(SetValue(*key, "Toolbar", ValueType::Sz, "10"));
    EXPECT_EQ(profile.dir().Read(hive + ".damaged"), beforeDrop);
    ASSERT_TRUE(SetValue(*key, "LeftShare", ValueType::Sz, "2"));
    EXPECT_FALSE(fs::exists(HivePath() + ".damaged.1"));
    const std::string repaired = "REGEDIT4\n\n" + kSection +
                                 "\"Toolbar\"=hex(1):31,30\n\"Size\"=hex(1):32\n\"LeftShare\"=hex(1):32\n";
    EXPECT_EQ(profile.HiveBytes(), repaired);

    // A bad line typed later is a new damage and gets its own copy.
    const std::string typedLater = repaired + "\"Toolbar\"=\"11\n";
    profile.dir().Write(hive, typedLater);
    EXPECT_EQ(Read(*key, "Toolbar"), "10") << "the readable line still reads";
    ASSERT_TRUE(SetValue(*key, "Toolbar", ValueType::Sz, "11"));
    EXPECT_EQ(profile.dir().Read(hive + ".damaged.1"), typedLater);
    EXPECT_EQ(profile.dir().Read(hive + ".damaged"), beforeDrop);

    // A file with nothing of a hive in it reads as empty and is moved aside whole.
    const std::string noHive = "not a hive at all\n\xff\xfe";
    profile.dir().Write(hive, noHive);
    EXPECT_FALSE(OpenKey(kSettings));
    EXPECT_FALSE(Read(*key, "Size"));
    ASSERT_TRUE(SetValue(*key, "Size", ValueType::Sz, "5"));
    EXPECT_EQ(profile.dir().Read(hive + ".damaged.2"), noHive);
    EXPECT_EQ(profile.HiveBytes(), "REGEDIT4\n\n" + kSection + "\"Size\"=hex(1):35\n\n");
}

TEST(PlatformRegistry, FailedHiveWrite)
{
    PrivateProfile profile;
    const auto key = CreateKey(kSettings);
    ASSERT_TRUE(key);
    ASSERT_TRUE(SetValue(*key, "Toolbar", ValueType::Sz, "11"));
    const std::string before = profile.HiveBytes();
    {
        FailingHiveWrites failing;
        EXPECT_FALSE(SetValue(*key, "Toolbar", ValueType::Sz, "00"));
        EXPECT_FALSE(CreateKey("Software\\Vestrels\\Other"));
        EXPECT_TRUE(CreateKey(kSettings)) << "an existing key needs no write";
        EXPECT_EQ(Read(*key, "Toolbar"), "11");
    }
    EXPECT_EQ(profile.HiveBytes(), before);
    EXPECT_TRUE(SetValue(*key, "Toolbar", ValueType::Sz, "00"));
}

TEST(PlatformRegistry, UnwritableNamesAndFoldersFail)
{
    PrivateProfile profile;
    const auto key = CreateKey(kSettings);
    ASSERT_TRUE(key);
    EXPECT_FALSE(SetValue(*key, "Two\nLines", ValueType::Sz, "x"));
    EXPECT_FALSE(CreateKey("Software\\Bad\rKey"));

    // The configuration folder is a file: nothing can be written, nothing crashes.
    PrivateProfile blocked;
    blocked.dir().Write("Vestrels", "a file in the way");
    EXPECT_FALSE(CreateKey(kSettings));
    EXPECT_FALSE(SetValue(Key(kSettings), "Toolbar", ValueType::Sz, "11"));
    EXPECT_EQ(blocked.dir().Read("Vestrels"), "a file in the way");
}

TEST(PlatformRegistry, HiveFollowsTheEnvironmentAtEveryCall)
{
    PrivateProfile first;
    ASSERT_TRUE(SetValue(Key(kSettings), "Where", ValueType::Sz, "first"));
    EXPECT_EQ(HivePath(), first.dir().path() + "/Vestrels/registry.reg");
    {
        PrivateProfile second;
        EXPECT_FALSE(OpenKey(kSettings));
        ASSERT_TRUE(SetValue(Key(kSettings), "Where", ValueType::Sz, "second"));
        EXPECT_EQ(Read(Key(kSettings), "Where"), "second");
    }
    EXPECT_EQ(Read(Key(kSettings), "Where"), "first");
}
