// SPDX-License-Identifier: GPL-3.0-or-later
// Listing, folders, the current directory and whole-file reads.
#include "platform/files.h"

#include "platform/paths.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

using namespace platform;
namespace fs = std::filesystem;

namespace {

std::string Internal(const TempDir& dir, std::string_view relative = "")
{
    return paths::FromHost(dir.path()) + std::string(relative);
}

}  // namespace

TEST(PlatformFiles, ListingIsSortedByLowerCaseNameWithFolderFlags)
{
    TempDir dir;
    dir.Write("b.htm", "x");
    dir.Write("A.chm", "");
    dir.Write("a.chm", "");
    dir.MakeFolder("IZone57");
    dir.MakeFolder("\xD0\x91\xD0\xB8\xD1\x82");  // Бит
    dir.Write("\xE1\xE0\xE9\xF2", "");            // байт, raw 1251 on disk
    dir.MakeFolder("target");
    fs::create_directory_symlink(dir.Join("target"), dir.Join("linked"));
    fs::create_symlink(dir.Join("nowhere"), dir.Join("broken"));

    for (const std::string& pattern : {Internal(dir, "\\*"), Internal(dir), Internal(dir, "\\"),
                                      Internal(dir, "\\*.*")}) {
        const auto entries = files::ListDirectory(pattern);
        ASSERT_TRUE(entries) << pattern;
        std::vector<std::pair<std::string, bool>> got;
        for (const files::DirEntry& e : *entries)
            got.emplace_back(e.name, e.isFolder);
        const std::vector<std::pair<std::string, bool>> expected = {
            {"A.chm", false}, {"a.chm", false}, {"b.htm", false},  {"broken", false},
            {"IZone57", true}, {"linked", true}, {"target", true},
            {"\xE1\xE0\xE9\xF2", false},  // байт
            {"\xC1\xE8\xF2", true},       // Бит: lower-cased "бит" sorts after "байт"
        };
        EXPECT_EQ(got, expected) << pattern;
    }
}

TEST(PlatformFiles, ListingFailsWithoutAFolder)
{
    TempDir dir;
    dir.Write("file.txt", "x");
    EXPECT_FALSE(files::ListDirectory(Internal(dir, "\\missing\\*")));
    EXPECT_FALSE(files::ListDirectory(Internal(dir, "\\file.txt\\*")));
    const auto empty = files::ListDirectory(Internal(dir, "\\*"));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->size(), 1u);
}

TEST(PlatformFiles, ListingFindsTheFolderIgnoringCase)
{
    TempDir dir;
    dir.Write("Journals/izone57/index.htm", "x");
    const auto entries = files::ListDirectory(Internal(dir, "\\JOURNALS\\*"));
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 1u);
    EXPECT_EQ((*entries)[0].name, "izone57");
}

TEST(PlatformFiles, CreateAndRemoveFolders)
{
    TempDir dir;
    const std::string folder = Internal(dir, "\\izone60");
    EXPECT_TRUE(files::CreateFolder(folder));
    EXPECT_TRUE(files::IsFolder(folder));
    EXPECT_TRUE(files::IsFolder(Internal(dir, "\\IZONE60")));
    EXPECT_FALSE(files::CreateFolder(folder)) << "exists already";
    EXPECT_FALSE(files::CreateFolder(Internal(dir, "\\IZone60"))) << "exists under another case";
    EXPECT_FALSE(files::CreateFolder(Internal(dir, "\\a\\b"))) << "one level only";

    // Removal takes the contents but never follows a link out of the folder.
    dir.Write("outside/keep.htm", "keep");
    dir.Write("izone60/frame/main.htm", "x");
    fs::create_directory_symlink(dir.Join("outside"), dir.Join("izone60/link"));
    EXPECT_TRUE(files::RemoveFolder(folder));
    EXPECT_FALSE(fs::exists(dir.Join("izone60")));
    EXPECT_EQ(dir.Read("outside/keep.htm"), "keep");

    dir.Write("file.htm", "x");
    EXPECT_FALSE(files::RemoveFolder(Internal(dir, "\\file.htm")));
    EXPECT_FALSE(files::RemoveFolder(Internal(dir, "\\missing")));
    EXPECT_TRUE(fs::exists(dir.Join("file.htm")));
    EXPECT_FALSE(files::IsFolder(Internal(dir, "\\file.htm")));
}

TEST(PlatformFiles, CurrentDirectoryInInternalForm)
{
    TempDir dir;
    dir.MakeFolder("\xD0\x96\xD1\x83\xD1\x80");  // Жур
    const fs::path saved = fs::current_path();
    fs::current_path(dir.Join("\xD0\x96\xD1\x83\xD1\x80"));
    const std::string current = files::CurrentDirectory();
    fs::current_path(saved);
    EXPECT_EQ(current, Internal(dir, "\\\xC6\xF3\xF0"));
}

TEST(PlatformFiles, ReadWholeFile)
{
    TempDir dir;
    const std::string bytes("line\r\n\0\xff end", 11);
    dir.Write("Issue/Page.htm", bytes);
    EXPECT_EQ(files::ReadWholeFile(Internal(dir, "\\issue\\page.htm")), bytes);
    dir.Write("empty", "");
    EXPECT_EQ(files::ReadWholeFile(Internal(dir, "\\empty")), "");
    EXPECT_FALSE(files::ReadWholeFile(Internal(dir, "\\missing.htm")));
    EXPECT_FALSE(files::ReadWholeFile(Internal(dir, "\\Issue")));
    ASSERT_EQ(mkfifo(dir.Join("pipe").c_str(), 0600), 0);
    EXPECT_FALSE(files::ReadWholeFile(Internal(dir, "\\pipe"))) << "and does not hang";
}
