// SPDX-License-Identifier: GPL-3.0-or-later
// vestrels-cli: its three commands in both output forms, its failures, and
// the real program.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <sstream>

#include "core/settings/settings_store.h"
#include "cli/cli.h"
#include "platform/registry.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace {


std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Internal(std::string hostPath)
{
    for (char& c : hostPath)
        if (c == '/')
            c = '\\';
    return hostPath;
}

class CliTest : public ::testing::Test {
protected:
    CliTest()
    {
        journals.MakeFolder("izone57");
        journals.MakeFolder("release-gold2");
        journals.MakeFolder("izone57.old");
        // "Содержание" in 1251, a section heading, then one article.
        journals.Write("izone57/frame/left.htm",
                       "<tr><td><b>\xD1\xEE\xE4\xE5\xF0\xE6\xE0\xED\xE8\xE5</b></td></tr>\n"
                       "<li><a href=\"text/a1.htm\">First</a></li>\n");
    }

    PrivateProfile profile;
    TempDir journals;
};

TEST_F(CliTest, ListsIssuesInLibraryOrder)
{
    const ToolRun run = RunTool({"--dir", journals.path(), "list"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Lines(run.out),
              (std::vector<std::string>{"0\trelease-gold2\tInternetZone-gold2", "1\tizone57\tInternetZone57"}));
}

TEST_F(CliTest, ListsAsJsonLines)
{
    const ToolRun run = RunTool({"--json", "--dir", journals.path(), "list"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    const nlohmann::json issue = nlohmann::json::parse(lines[1]);
    EXPECT_EQ(issue["index"], 1);
    EXPECT_EQ(issue["folder"], "izone57");
    EXPECT_EQ(issue["caption"], "InternetZone57");
}

TEST_F(CliTest, PrintsContentsUpToTheEndEntry)
{
    const ToolRun plain = RunTool({"--dir", journals.path(), "toc", "1"});
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(Lines(plain.out), (std::vector<std::string>{"0\t     Содержание\t", "1\t     First\ttext/a1.htm",
                                                          "2\t\t"}));

    const ToolRun json = RunTool({"--dir", journals.path(), "--json", "toc", "1"});
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json entry = nlohmann::json::parse(Lines(json.out).at(1));
    EXPECT_EQ(entry["position"], 1);
    EXPECT_EQ(entry["title"], "     First");
    EXPECT_EQ(entry["link"], "text/a1.htm");
}

TEST_F(CliTest, PrintsTargetsInBothForms)
{
    const std::string folder = journals.Join("izone57");
    const ToolRun start = RunTool({"--dir", journals.path(), "target", "1"});
    EXPECT_EQ(start.status, 0) << start.err;
    EXPECT_EQ(start.out, folder + "/index.htm\n");

    const ToolRun article = RunTool({"--dir", journals.path(), "--json", "target", "1", "../text/a1.htm"});
    ASSERT_EQ(article.status, 0) << article.err;
    const nlohmann::json target = nlohmann::json::parse(article.out);
    EXPECT_EQ(target["target"], Internal(folder) + "\\text\\a1.htm");
    EXPECT_EQ(target["host"], folder + "/text/a1.htm");

    const ToolRun address = RunTool({"--dir", journals.path(), "target", "0", "http://example.org/a"});
    EXPECT_EQ(address.out, "http://example.org/a\n");
}

TEST_F(CliTest, HttpInWorkingDirectoryGivesHostFilePath)
{
    TempDir root;
    root.MakeFolder("httpdocs/journals/izone57");
    const std::string folder = root.Join("httpdocs/journals/izone57");
    const std::string dir = root.Join("httpdocs/journals");

    const ToolRun plain = RunTool({"--dir", dir, "target", "0"});
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.out, folder + "/index.htm\n");

    const auto json = [&](const std::string& link) {
        return nlohmann::json::parse(RunTool({"--dir", dir, "--json", "target", "0", link}).out);
    };
    EXPECT_EQ(json("../t/a.htm")["host"], folder + "/t/a.htm");
    EXPECT_EQ(json("../t/a.htm")["kind"], "file");
    EXPECT_EQ(json("http://x")["kind"], "address");
}

TEST_F(CliTest, UsesStoredWorkingDirectoryWithoutWritingSettings)
{
    const std::string stored = journals.path() + "/*";
    ASSERT_TRUE(platform::registry::SetValue(platform::registry::CreateKey(kSettingsKey).value(), "Journals",
                                             platform::registry::ValueType::Sz, stored));
    const std::string hiveBefore = profile.HiveBytes();

    const ToolRun run = RunTool({"list"});

    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Lines(run.out).size(), 2u);
    EXPECT_EQ(profile.HiveBytes(), hiveBefore);  // no catalogue defaults stored either
}

TEST_F(CliTest, FailuresExitWithOne)
{
    TempDir empty;
    const std::vector<std::vector<std::string>> cases = {
        {"list"},  // nothing stored
        {"--dir", empty.path(), "list"},
        {"--dir", empty.Join("absent"), "list"},
        {"--dir", journals.path(), "toc", "2"},
        {"--dir", journals.path(), "target", "7", "a.htm"},
    };
    for (const auto& args : cases) {
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.status, 1) << args.back();
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(run.err.find("vestrels-cli: "), std::string::npos);
    }
}

TEST_F(CliTest, FollowsTheConventionsOfCommandLineTools)
{
    // A usage error is one line that names the mistake; search exits as grep.
    const std::string dir = journals.path();
    const std::string absent = journals.Join("absent");
    journals.Write("notes.txt", "not a favourites file at all\n");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out, err;  // each found in its stream
    };
    const std::vector<Case> cases = {
        {{}, 2, "", "no command given"},
        {{"show"}, 2, "", "vestrels-cli: unknown command 'show' (see vestrels-cli --help)\n"},
        {{"toc"}, 2, "", "toc takes one issue number"},
        {{"toc", "x"}, 2, "", "bad issue number 'x'"},
        {{"toc", "-1"}, 2, "", "bad issue number '-1'"},
        {{"list", "3"}, 2, "", "not '3'"},
        {{"target", "1", "a", "b"}, 2, "", "not 'b'"},
        {{"--dir"}, 2, "", "option --dir needs a folder"},
        {{"--verbose", "list"}, 2, "", "unknown option '--verbose'"},
        {{"search", "--html", "a"}, 2, "", "option --html does not belong to search"},
        {{"favorites", "--html", "--json"}, 2, "", "not both"},
        {{"--version"}, 0, "vestrels-cli 3.", ""},
        {{"list", "-h"}, 0, "usage: vestrels-cli", ""},
        {{"list", "--json", "--dir", dir}, 0, "{\"caption\":\"InternetZone-gold2\"", ""},
        {{"list", "--dir=" + dir}, 0, "1\tizone57\t", ""},
        {{"--dir", journals.Join("izone57"), "list"}, 0, "0\trelease-gold2\t", ""},
        {{"--dir", dir, "search", "First"}, 0, "1\tInternetZone57\t1\n", ""},
        {{"--dir", dir, "search", "nowhere"}, 1, "", ""},
        {{"--dir", absent, "search", "First"}, 2, "", "cannot read the working directory " + absent + ": No such"},
        {{"--dir", absent, "list"}, 1, "", "cannot read the working directory " + absent + ": No such"},
        {{"favorites", journals.Join("notes.txt")}, 1, "", journals.Join("notes.txt") + " is not a favourites file"},
    };
    for (const Case& c : cases) {
        const ToolRun run = RunTool(c.args);
        const std::string shown = c.args.empty() ? "(none)" : c.args.back();
        EXPECT_EQ(run.status, c.status) << shown << ": " << run.err;
        EXPECT_NE(run.out.find(c.out), std::string::npos) << shown << ": " << run.out;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << shown << ": " << run.err;
        if (c.status == 2) {
            EXPECT_TRUE(run.out.empty() && run.err.find('\n') == run.err.size() - 1) << shown << ": " << run.err;
        }
    }
}

TEST_F(CliTest, PlainOutputReplacesEveryControlCharacter)
{
    // Escape sequences, a bell and a delete in a folder name, a title and a link.
    journals.Write("release-gold2/pages/materials.htm", "<li><a href=\"a.htm\">Plain</a></li>\n");
    journals.Write("izone\x1b]0;x\x07" "58/frame/left.htm",
                   "<li><a href=\"a\x1b[2J.htm\">T\x1b[31mitle\x7F</a></li>\n");
    std::string json;
    const std::vector<std::string> commands[] = {{"list"}, {"toc", "0"}, {"toc", "1"}, {"toc", "2"}};
    for (const std::vector<std::string>& command : commands) {
        std::vector<std::string> args = {"--dir", journals.path()};
        args.insert(args.end(), command.begin(), command.end());
        const ToolRun plain = RunTool(args);
        EXPECT_EQ(plain.status, 0) << plain.err;
        for (std::size_t i = 0; i < plain.out.size(); ++i) {
            const auto byte = static_cast<unsigned char>(plain.out[i]);
            EXPECT_TRUE((byte >= 0x20 && byte != 0x7F) || byte == '\t' || byte == '\n') << command.back() << i;
            EXPECT_FALSE(byte == 0xC2 && static_cast<unsigned char>(plain.out[i + 1]) < 0xA0) << command.back();
        }
        args.push_back("--json");
        json += RunTool(args).out;
    }
    // JSON keeps them, escaped: the folder name, the caption, the title and the link.
    std::size_t kept = 0;
    for (std::size_t at = json.find("\\u001b"); at != std::string::npos; at = json.find("\\u001b", at + 1))
        ++kept;
    EXPECT_EQ(kept, 4u) << json;
}

TEST_F(CliTest, RealProgramListsIssues)
{
    const std::string output = journals.Join("out.txt");
    const std::string command =
        std::string("'") + VESTRELS_CLI_PATH + "' --dir '" + journals.path() + "' list > '" + output + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(journals.Read("out.txt"), "0\trelease-gold2\tInternetZone-gold2\n1\tizone57\tInternetZone57\n");

    const std::string usage = std::string("'") + VESTRELS_CLI_PATH + "' 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(usage.c_str())), 2);
}

}  // namespace
