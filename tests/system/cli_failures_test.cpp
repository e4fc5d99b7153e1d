// SPDX-License-Identifier: GPL-3.0-or-later
// vestrels-cli as a script meets it: every failure is a line on stderr that
// names the file and the reason, with a status that says so; and the tool
// takes a folder as the window's folder choice takes it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

#include "core/catalogue/journal_catalogue.h"
#include "core/library/discovery.h"
#include "platform/paths.h"
#include "support/cli_run.h"
#include "support/discovery_fake_host.h"
#include "support/temp_dir.h"

namespace {

/// The real tool, its output going to `stdoutPath` (a file of `scratch` when
/// empty); the test's paths hold no quote.
ToolRun RunToolProcess(const TempDir& scratch, const std::vector<std::string>& args, std::string stdoutPath = {})
{
    const bool captured = stdoutPath.empty();
    std::string command = std::string("'") + VESTRELS_CLI_PATH + "'";
    for (const std::string& arg : args)
        command += " '" + arg + "'";
    command += " >'" + (captured ? scratch.Join("out.txt") : stdoutPath) + "' 2>'" + scratch.Join("err.txt") + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, captured ? scratch.Read("out.txt") : "", scratch.Read("err.txt")};
}

TEST(CliFailures, EndWithAMessageNamingTheFileAndTheReason)
{
    PrivateProfile profile;
    TempDir journals, scratch;
    const std::string dir = journals.path();
    journals.Write("izone57/frame/left.htm", "<li><a href=\"text/a1.htm\">First</a></li>\n"
                                             "<li><a href=\"text/a2.htm\">Second</a></li>\n");
    journals.Write("izone57/text/a1.htm", "<p>modem</p>\n");
    journals.MakeFolder("izone57/text/a2.htm");  // an article that cannot be read
    journals.MakeFolder("izone58");               // no contents page at all
    journals.MakeFolder("izone59/frame/left.htm");  // a contents page that cannot be read
    const std::string contents58 = journals.Join("izone58/frame/left.htm");
    const std::string contents59 = journals.Join("izone59/frame/left.htm");
    const std::string article = journals.Join("izone57/text/a2.htm");
    const std::string absent = journals.Join("absent");
    TempDir archives;  // unpacked by the tool as by the window; its failure said in the tool's words
    archives.Write("shelf/izone70.chm", "no archive at all");

    struct Case {
        std::vector<std::string> args;
        std::string stdoutPath;  ///< empty: a file
        int status;
        std::string err;  ///< found in stderr; empty: stderr stays empty
    };
    const std::vector<Case> cases = {
        {{"--dir", dir, "toc", "1"}, "", 1, "cannot read the contents page " + contents58 + ": there is no such file"},
        {{"--dir", dir, "toc", "2"}, "", 1, "cannot read the contents page " + contents59 + ": it is a folder"},
        {{"--dir", absent, "favorites", "--html"}, "", 1, "cannot read the working directory " + absent + ": No such"},
        {{"--dir", absent, "favorites"}, "", 1, "cannot read the working directory " + absent + ": No such"},
        {{"--dir", dir, "list"}, "/dev/full", 1, "cannot write the output: No space left on device"},
        {{"--help"}, "/dev/full", 1, "cannot write the output: No space left on device"},
        {{"--version"}, "/dev/full", 1, "cannot write the output: No space left on device"},
        {{"--dir", dir, "search", "First"}, "/dev/full", 2, "cannot write the output: No space left on device"},
        {{"--dir", dir, "search", "--text", "modem"}, "", 0, "cannot read the article " + article + ": it is a folder"},
        {{"--dir", dir, "search", "--text", "nowhere"}, "", 2, "cannot read the article " + article},
        {{"--dir", dir, "search", "nowhere"}, "", 2, "cannot read the contents page " + contents59 + ": it is a folder"},
        {{"--dir", archives.Join("shelf"), "list"}, "", 1,
         "cannot unpack " + archives.Join("shelf/izone70.chm") + ": it cannot be read as a compiled-help archive"},
        {{"--dir", dir, "list"}, "", 0, ""},
    };
    for (const Case& c : cases) {
        const ToolRun run = RunToolProcess(scratch, c.args, c.stdoutPath);
        const std::string shown = c.args.back() + " > " + (c.stdoutPath.empty() ? "file" : c.stdoutPath);
        EXPECT_EQ(run.status, c.status) << shown << ": " << run.err;
        if (c.err.empty()) {
            EXPECT_EQ(run.err, "") << shown;
            continue;
        }
        EXPECT_NE(run.err.find("vestrels-cli: " + c.err), std::string::npos) << shown << ": " << run.err;
        // One line each, each with the tool's name first.
        std::istringstream lines(run.err);
        for (std::string line; std::getline(lines, line);)
            EXPECT_TRUE(line.starts_with("vestrels-cli: ")) << shown << ": " << line;
    }
}

TEST(CliFolderRule, ToolListsWhatTheWindowListsForTheSameFolder)
{
    PrivateProfile profile;
    TempDir root, scratch;
    root.MakeFolder("izone-archive/izone57");  // named like an issue, holds issues
    root.MakeFolder("izone-archive/izone58");
    root.MakeFolder("shelf/gold3");  // an issue folder stands for its parent
    root.MakeFolder("shelf/release10");
    root.MakeFolder("journals-2024/izone70");  // digits in its name, holds issues

    for (const std::string folder : {"izone-archive", "shelf/gold3", "journals-2024"}) {
        FakeHost host;
        JournalCatalogue catalogue = DefaultCatalogue();
        Library library;
        WorkingDirectoryRequests requests;
        const std::string chosen = platform::paths::FromHost(root.Join(folder));
        ASSERT_EQ(DiscoverIssues(host, catalogue, library, chosen, requests, {}, chosen), DiscoveryResult::Done) << folder;
        std::string windowList;
        for (int i = 0; i < library.issueCount(); ++i)
            windowList += std::to_string(i) + "\t" + library.folderNames[i] + "\t" + library.issues[i].caption + "\n";
        const ToolRun run = RunToolProcess(scratch, {"--dir", root.Join(folder), "list"});
        EXPECT_EQ(run.status, 0) << folder << ": " << run.err;
        EXPECT_EQ(run.out, windowList) << folder;
        EXPECT_FALSE(windowList.empty()) << folder;
    }
}

}  // namespace
