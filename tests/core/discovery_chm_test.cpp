// SPDX-License-Identifier: GPL-3.0-or-later
// Compiled-help issues: a ".chm" file gets a folder of its own, unpacked by
// the program itself, and a hostile archive stays inside it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/library/compiled_help.h"
#include "core/library/discovery.h"
#include "platform/paths.h"
#include "support/temp_dir.h"
#include "support/discovery_fake_host.h"

namespace fs = std::filesystem;

namespace {

const char* const kIndexPage = "<html><body>index</body></html>\n";
const char* const kLeftPage = "<html><body><li><a href=\"a.htm\">First</a></li></body></html>\n";

// Compiles a small help file from the pages given (relative path, bytes).
std::string CompileHelp(const TempDir& work, const std::string& chmName,
                        const std::vector<std::pair<std::string, std::string>>& pages)
{
    TempDir project;
    std::string hhp = "[OPTIONS]\nCompiled file=" + chmName + "\nDefault topic=" + pages[0].first +
                      "\nTitle=Issue\n\n[FILES]\n";
    for (const auto& [path, bytes] : pages) {
        project.Write(path, bytes);
        hhp += path + "\n";
    }
    project.Write("issue.hhp", hhp);
    const std::string command = "cd '" + project.path() + "' && chmcmd issue.hhp >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 || !fs::exists(project.Join(chmName)))
        return {};
    fs::copy_file(project.Join(chmName), work.Join(chmName));
    return work.Join(chmName);
}

std::string Pattern(const TempDir& dir)
{
    return platform::paths::FromHost(dir.path()) + "\\*";
}

// Runs the step with the process in `currentDir`, where a program could lie.
void PrepareFrom(const fs::path& currentDir, FakeHost& host, const TempDir& work)
{
    const fs::path saved = fs::current_path();
    fs::current_path(currentDir);
    PrepareCompiledHelpIssues(host, Pattern(work));
    fs::current_path(saved);
}

class CompiledHelpTest : public ::testing::Test {
protected:
    TempDir work;
    TempDir elsewhere;  // a current directory without the tool
    FakeHost host;
};

TEST_F(CompiledHelpTest, UnpacksIntoNewFolder)
{
    ASSERT_FALSE(CompileHelp(work, "izone60.chm", {{"index.htm", kIndexPage}, {"frame/left.htm", kLeftPage}}).empty());

    PrepareFrom(elsewhere.path(), host, work);

    EXPECT_EQ(work.Read("izone60/index.htm"), kIndexPage);
    EXPECT_EQ(work.Read("izone60/frame/left.htm"), kLeftPage);
    EXPECT_EQ(host.clipboardTexts, std::vector<std::string>{work.Join("izone60")});
}

TEST_F(CompiledHelpTest, FolderNamedInsideCountsAsUnpacked)
{
    ASSERT_FALSE(CompileHelp(work, "izone60.chm", {{"index.htm", kIndexPage}}).empty());
    work.MakeFolder("izone6");

    PrepareFrom(elsewhere.path(), host, work);

    EXPECT_FALSE(fs::exists(work.Join("izone60")));
    EXPECT_TRUE(host.clipboardTexts.empty());
}

TEST_F(CompiledHelpTest, SecondDotKeepsItsPartInTheFolderName)
{
    ASSERT_FALSE(CompileHelp(work, "izone60.old.chm", {{"index.htm", kIndexPage}}).empty());
    work.MakeFolder("izone60.old.x");  // a folder with a dot never counts as unpacked

    PrepareFrom(elsewhere.path(), host, work);

    EXPECT_EQ(work.Read("izone60.old/index.htm"), kIndexPage);

    // Offered again by the next scan, the folder with its files stays as it is.
    work.Write("izone60.old/index.htm", "edited by the user");
    PrepareFrom(elsewhere.path(), host, work);
    EXPECT_EQ(work.Read("izone60.old/index.htm"), "edited by the user");
}

TEST_F(CompiledHelpTest, ClipboardFailureRemovesFolderAndStops)
{
    ASSERT_FALSE(CompileHelp(work, "gold3.chm", {{"index.htm", kIndexPage}}).empty());
    ASSERT_FALSE(CompileHelp(work, "izone60.chm", {{"index.htm", kIndexPage}}).empty());
    host.clipboardWorks = false;

    PrepareFrom(elsewhere.path(), host, work);

    EXPECT_FALSE(fs::exists(work.Join("gold3")));
    EXPECT_FALSE(fs::exists(work.Join("izone60")));
}

TEST_F(CompiledHelpTest, DamagedFileLeavesNoFolder)
{
    work.Write("izone61.chm", "not a compiled help file");
    PrepareFrom(elsewhere.path(), host, work);
    EXPECT_FALSE(fs::exists(work.Join("izone61")));
    EXPECT_EQ(host.clipboardTexts.size(), 1u);
}

TEST_F(CompiledHelpTest, ObjectPathsCannotLeaveTheFolder)
{
    const std::string chm =
        CompileHelp(work, "izone62.chm", {{"index.htm", kIndexPage}, {"zz/evil.htm", "outside"}});
    ASSERT_FALSE(chm.empty());
    // Rename the object "/zz/evil.htm" to "/../evil.htm" in the archive's directory.
    std::string bytes = work.Read("izone62.chm");
    std::size_t at = bytes.find("/zz/evil.htm");
    ASSERT_NE(at, std::string::npos);
    for (; at != std::string::npos; at = bytes.find("/zz/evil.htm", at))
        bytes.replace(at, 4, "/../");
    work.Write("izone62.chm", bytes);

    PrepareFrom(elsewhere.path(), host, work);

    EXPECT_FALSE(fs::exists(work.Join("evil.htm")));
    EXPECT_FALSE(fs::exists(fs::path(work.path()).parent_path() / "evil.htm"));
    EXPECT_EQ(work.Read("izone62/index.htm"), kIndexPage);
}

TEST_F(CompiledHelpTest, NoProgramOfTheCurrentDirectoryIsRun)
{
    ASSERT_FALSE(CompileHelp(work, "izone60.chm", {{"index.htm", kIndexPage}}).empty());
    TempDir toolDir;
    toolDir.Write("hhw.exe", "#!/bin/sh\necho \"$0 $#\" > '" + work.Join("izone60/from-tool.txt") + "'\n");
    fs::permissions(toolDir.Join("hhw.exe"), fs::perms::owner_all);

    PrepareFrom(toolDir.path(), host, work);

    EXPECT_FALSE(fs::exists(work.Join("izone60/from-tool.txt")));
    EXPECT_EQ(work.Read("izone60/index.htm"), kIndexPage);  // the program did it itself
}

}  // namespace
