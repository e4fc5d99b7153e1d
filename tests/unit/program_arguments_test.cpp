// The program's own help and version: printed without a display, exit 0.
#include <gtest/gtest.h>

#include "app/program_arguments.h"

TEST(ProgramArguments, HelpAndVersionAreTheProgramsOwn)
{
    using Args = std::vector<std::string>;
    const std::pair<Args, const char*> cases[] = {
        {{"--help"}, "Usage: vestrels [DIR]"},
        {{"-h"}, "Usage: vestrels [DIR]"},
        {{"/j", "--version"}, "Vestrels 3.1.1"},
        {{"--", "--help"}, nullptr},  // a folder of that name
        {{"/home/u/journals"}, nullptr},
        {{}, nullptr},
    };
    for (const auto& [args, start] : cases) {
        const std::optional<std::string> info = InfoRequestedBy(args);
        ASSERT_EQ(info.has_value(), start != nullptr) << (args.empty() ? "" : args.back());
        if (start) {
            EXPECT_EQ(info->rfind(start, 0), 0u) << *info;
            EXPECT_EQ(info->find("verbose"), std::string::npos);
        }
    }
}
