// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own command line: help and version printed, a mistake named
// on one line, everything else left to the framework, all without a display.
#include <gtest/gtest.h>

#include "core/settings/program_arguments.h"

TEST(ProgramArguments, HelpVersionAndMistakesAreAnsweredBeforeTheWindow)
{
    using K = ProgramRequest::Kind;
    const std::tuple<std::vector<std::string>, K, std::string> cases[] = {
        {{"--help"}, K::Print, "Usage: vestrels [DIR]"},
        {{"-h"}, K::Print, "Usage: vestrels [DIR]"},
        {{"/j", "--version"}, K::Print, "Vestrels " VESTRELS_VERSION},
        {{"--bogus", "--help"}, K::Print, "Usage: vestrels [DIR]"},
        {{"--", "--help"}, K::Run, ""},
        {{"/home/u/journals"}, K::Run, ""},
        {{}, K::Run, ""},
        {{"--display", ":1", "/j"}, K::Run, ""},
        {{"--display=:1", "--sync", "/j"}, K::Run, ""},
        {{"--bogus"}, K::Mistake, "vestrels: unknown option '--bogus' (see vestrels --help)\n"},
        {{"-x", "/j"}, K::Mistake, "vestrels: unknown option '-x' (see vestrels --help)\n"},
        {{"a", "b"}, K::Mistake, "vestrels: too many arguments: only one folder is taken, not 'b' as well "
                                 "(see vestrels --help)\n"},
        {{"--", "-a", "b"}, K::Mistake, "vestrels: too many arguments"},
    };
    for (const auto& [args, kind, start] : cases) {
        const ProgramRequest request = ReadProgramArguments(args);
        const std::string shown = args.empty() ? "(none)" : args.back();
        EXPECT_EQ(request.kind, kind) << shown;
        EXPECT_EQ(request.text.substr(0, start.size()), start) << shown;
    }
}
