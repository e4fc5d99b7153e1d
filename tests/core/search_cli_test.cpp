// SPDX-License-Identifier: GPL-3.0-or-later
// vestrels-cli search: its rows in both forms, a query the code page cannot
// hold, and the help that lists every command.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <sstream>

#include "cli/cli.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace {


class SearchCli : public ::testing::Test {
protected:
    SearchCli()
    {
        // "Модем" in a title, "модем" in the page of the entry ending the list.
        journals.Write("izone57/frame/left.htm",
                       "<li><a href=\"../a1.htm\">\xCC\xEE\xE4\xE5\xEC</a></li>\n"
                       "<li><a href=\"../a2.htm\">Other</a></li>\n"
                       "<li><a href=\"../index.htm\"></a></li>\n");
        journals.Write("izone57/a1.htm", "<p>nothing</p>");
        journals.Write("izone57/a2.htm", "<p>nothing</p>");
        journals.Write("izone57/index.htm", "<p>\xEC\xEE\xE4\xE5\xEC</p>");
        journals.Write("izone58/frame/left.htm", "<li><a href=\"../a1.htm\">First</a></li>\n");
    }

    PrivateProfile profile;
    TempDir journals;
};

TEST_F(SearchCli, PrintsRowsWithTheirFoundPositions)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"search", "модем"}, "0\tInternetZone57\t0\n"},
        {{"search", "--text", "МОДЕМ"}, "0\tInternetZone57\t2\n"},  // the list-ending entry
        {{"search", "--text", "--jobs", "3", "МОДЕМ"}, "0\tInternetZone57\t2\n"},
        {{"search", "--match-case", "модем"}, ""},
        {{"search", "--whole-word", "--", "Fir"}, ""},
        {{"search", "Fir"}, "1\tInternetZone58\t0\n"},
        {{"search", " "}, "0\tInternetZone57\t0 1\n1\tInternetZone58\t0\n"},
    };
    for (const auto& [args, expected] : cases) {
        std::vector<std::string> full = {"--dir", journals.path()};
        full.insert(full.end(), args.begin(), args.end());
        const ToolRun run = RunTool(full);
        EXPECT_EQ(run.status, expected.empty() ? 1 : 0) << args.back() << run.err;
        EXPECT_EQ(run.out, expected) << args.back();
    }

    const ToolRun json = RunTool({"--json", "--dir", journals.path(), "search", "--text", "модем"});
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json row = nlohmann::json::parse(json.out);
    EXPECT_EQ(row["index"], 0);
    EXPECT_EQ(row["caption"], "InternetZone57");
    EXPECT_EQ(row["found"], nlohmann::json::array({2}));
}

TEST_F(SearchCli, RefusesAQueryTheCodePageCannotHold)
{
    const ToolRun run = RunTool({"--dir", journals.path(), "search", "模型"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find("1251"), std::string::npos) << run.err;
}

TEST_F(SearchCli, HelpListsEveryCommand)
{
    const ToolRun help = RunTool({"--help"});
    EXPECT_EQ(help.status, 0);
    const ToolRun none = RunTool({});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err.find("usage:"), std::string::npos);  // one line, not the help
    for (const char* command : {"list", "toc N", "target N", "search [--text] [--whole-word] [--match-case]"})
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    for (const std::vector<std::string>& wrong :
         std::vector<std::vector<std::string>>{{"search"}, {"search", "a", "b"}, {"search", "--regex", "a"},
                                               {"search", "--jobs", "0", "a"}, {"search", "--text", "--jobs"}})
        EXPECT_EQ(RunTool(wrong).status, 2) << wrong.back();
}

}  // namespace
