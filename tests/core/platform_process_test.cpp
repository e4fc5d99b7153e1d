// SPDX-License-Identifier: GPL-3.0-or-later
// Starting programs without a shell.
#include "platform/process.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using platform::process::IsExecutable;
using platform::process::RunAndWait;

TEST(PlatformProcess, ExitStatusAndArguments)
{
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {{"sh", "-c", "exit 0"}, 0},
        {{"sh", "-c", "exit 3"}, 3},
        {{"sh", "-c", "kill -9 $$"}, 128 + 9},
        // Arguments arrive as given: blanks, quotes and ";" are not split or run.
        {{"sh", "-c", "test \"$1\" = 'a b; exit 7' && test \"$0\" = myname", "myname", "a b; exit 7"}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunAndWait("/bin/sh", c.args), c.status) << c.args[2];
}

TEST(PlatformProcess, ProgramsThatCannotStart)
{
    TempDir dir;
    dir.Write("hhw.exe", "#!/bin/sh\nexit 0\n");  // not marked executable
    dir.MakeFolder("folder");
    EXPECT_EQ(RunAndWait(dir.Join("missing"), {"missing"}), -1);
    EXPECT_EQ(RunAndWait(dir.Join("hhw.exe"), {"hhw.exe"}), -1);
    EXPECT_EQ(RunAndWait(dir.Join("folder"), {"folder"}), -1);
    EXPECT_FALSE(IsExecutable(dir.Join("hhw.exe")));
    EXPECT_FALSE(IsExecutable(dir.Join("folder")));

    chmod(dir.Join("hhw.exe").c_str(), 0755);
    EXPECT_TRUE(IsExecutable(dir.Join("hhw.exe")));
    EXPECT_EQ(RunAndWait(dir.Join("hhw.exe"), {"hhw.exe"}), 0);
    EXPECT_EQ(RunAndWait(dir.Join("hhw.exe"), {}), 0) << "no arguments: the program's own name";
}
