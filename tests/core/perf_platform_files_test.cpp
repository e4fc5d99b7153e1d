// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reads go straight into a string of the size the file reports;
// these cases are where that size is not the whole story.
#include "platform/files.h"

#include "platform/paths.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

using namespace platform;

TEST(PerfPlatformFiles, LargeFileIsReadWholeAndExact)
{
    TempDir dir;
    std::string bytes;
    for (int i = 0; i < 300000; ++i)
        bytes.push_back(static_cast<char>((i * 131) % 256));
    dir.Write("Big/Left.htm", bytes);
    EXPECT_EQ(files::ReadWholeFile(paths::FromHost(dir.path()) + "\\big\\left.htm"), bytes);
}

TEST(PerfPlatformFiles, FileReportingNoSizeIsReadToItsEnd)
{
    // A kernel file claims size 0 yet has contents.
    std::ifstream stream("/proc/self/cmdline", std::ios::binary);
    ASSERT_TRUE(stream);
    const std::string expected((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(files::ReadWholeFile("\\proc\\self\\cmdline"), expected);
}
