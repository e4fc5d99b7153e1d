// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own help and version: printed without a display, exit 0.
#include <gtest/gtest.h>

#include "app/program_arguments.h"

TEST(ProgramArguments, HelpAndVersionAreTheProgramsOwn)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--help"}, "Usage: vestrels [DIR]"}, {{"-h"}, "Usage: vestrels [DIR]"}, {{"/j", "--version"}, "Vestrels " VESTRELS_VERSION},
        {{"--", "--help"}, ""}, {{"/home/u/journals"}, ""}, {{}, ""},
    };
    for (const auto& [args, start] : cases)
        EXPECT_EQ(InfoRequestedBy(args).value_or("").substr(0, start.size()), start) << args.size();
}
