// SPDX-License-Identifier: GPL-3.0-or-later
// Internal paths to host paths: separators, dots, case-insensitive lookup and
// the text conversion of names.
#include "platform/paths.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

using namespace platform::paths;

namespace {

// Changes the process's current directory for one test.
class CurrentDirectoryGuard {
public:
    explicit CurrentDirectoryGuard(const std::string& path) : saved_(std::filesystem::current_path())
    {
        std::filesystem::current_path(path);
    }
    ~CurrentDirectoryGuard() { std::filesystem::current_path(saved_); }

private:
    std::filesystem::path saved_;
};

class PlatformPathsOnDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.Write("Journals/IZone57/Frame/Main.htm", "x");
        dir.MakeFolder("Journals/izone58");
        dir.Write("Journals/\xD0\x94\xD0\xBE\xD0\xBC/\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB.htm", "x");  // Дом/Файл.htm
        dir.MakeFolder("Journals/raw\xCF\xF0");  // a name on disk that is not UTF-8
        dir.MakeFolder("Journals/ABC");
        dir.MakeFolder("Journals/Abc");
        root = FromHost(dir.path());
    }

    TempDir dir;
    std::string root;  ///< the temporary folder in the internal form
};

}  // namespace

TEST_F(PlatformPathsOnDisk, AbsolutePathsMapSegmentBySegment)
{
    struct Case {
        std::string internal;
        std::string host;  ///< below the temporary folder
    };
    const Case cases[] = {
        {"\\Journals\\IZone57\\Frame\\Main.htm", "/Journals/IZone57/Frame/Main.htm"},
        {"\\journals\\izone57\\frame\\MAIN.HTM", "/Journals/IZone57/Frame/Main.htm"},
        {"\\journals\\izone57.\\frame\\main.htm", "/Journals/IZone57/Frame/Main.htm"},
        {"\\journals\\izone57\\.\\frame\\left.htm", "/Journals/IZone57/Frame/left.htm"},
        {"\\journals\\\\izone57//frame/", "/Journals/IZone57/Frame"},
        {"\\journals\\izone57...\\...\\frame", "/Journals/IZone57/Frame"},
        {"\\journals\\izone58\\..\\IZONE57", "/Journals/izone58/../IZone57"},
        {"\\journals\\missing\\frame\\main.htm", "/Journals/missing/frame/main.htm"},
        {"\\journals\\\xE4\xEE\xEC\\\xF4\xE0\xE9\xEB.htm",  // дом\файл.htm
         "/Journals/\xD0\x94\xD0\xBE\xD0\xBC/\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB.htm"},
        {"\\journals\\RAW\xEF\xF0", "/Journals/raw\xCF\xF0"},
        {"\\journals\\Abc", "/Journals/Abc"},
        {"\\journals\\abc", "/Journals/ABC"},  // first match in sorted order
        {"\\journals\\*", "/Journals/*"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToHost(root + c.internal), dir.path() + c.host) << c.internal;
}

TEST_F(PlatformPathsOnDisk, RelativePathsStartAtTheCurrentDirectory)
{
    CurrentDirectoryGuard cwd(dir.path());
    struct Case {
        std::string internal;
        std::string host;
    };
    const Case cases[] = {
        {"journals\\izone57\\frame", "Journals/IZone57/Frame"},
        {".\\journals\\IZONE57", "Journals/IZone57"},
        {"D:\\journals", "D:/journals"},  // no drives here: an ordinary name
        {"hhw.exe", "hhw.exe"},
        {".", "."},
        {"", "."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToHost(c.internal), c.host) << c.internal;
}

TEST(PlatformPaths, RootAndParentSegments)
{
    EXPECT_EQ(ToHost("\\"), "/");
    EXPECT_EQ(ToHost("/"), "/");
    EXPECT_EQ(ToHost("\\\\"), "/");
    EXPECT_EQ(ToHost("..\\..\\x"), "../../x");
}

TEST(PlatformPaths, FromHost)
{
    struct Case {
        std::string host;
        std::string internal;
    };
    const Case cases[] = {
        {"/home/u/j", "\\home\\u\\j"},
        {"relative/x", "relative\\x"},
        {"name", "name"},
        {"/", "\\"},
        {"/\xD0\x94\xD0\xBE\xD0\xBC/x", "\\\xC4\xEE\xEC\\x"},
        {"/raw\xCF\xF0/\xD0\x94", "\\raw\xCF\xF0\\\xC4"},  // each name converted on its own
    };
    for (const Case& c : cases)
        EXPECT_EQ(FromHost(c.host), c.internal) << c.host;
}

TEST(PlatformPaths, SingleNames)
{
    EXPECT_EQ(NameFromHost("\xD0\x81\xD0\xBB\xD0\xBA\xD0\xB0"), "\xA8\xEB\xEA\xE0");  // Ёлка
    EXPECT_EQ(NameFromHost("\xE4\xB8\xAD.htm"), "?.htm");
    EXPECT_EQ(NameFromHost("\xA8\xEB\xEA\xE0"), "\xA8\xEB\xEA\xE0");
    EXPECT_EQ(NameToHost("\xA8\xEB\xEA\xE0"), "\xD0\x81\xD0\xBB\xD0\xBA\xD0\xB0");
    EXPECT_EQ(NameToHost("izone57"), "izone57");
}

TEST(PlatformPaths, NameOutsideTheCodePageIsFoundThroughItsListing)
{
    // "中.htm" reads as "?.htm" inside the program; the path still finds it.
    TempDir dir;
    dir.Write("\xE4\xB8\xAD.htm", "x");
    EXPECT_EQ(ToHost(FromHost(dir.path()) + "\\?.htm"), dir.path() + "/\xE4\xB8\xAD.htm");
}
