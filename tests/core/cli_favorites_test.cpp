// SPDX-License-Identifier: GPL-3.0-or-later
// vestrels-cli favorites: the store as lines, as JSON and as a bookmarks file
// for web browsers, read with the program's loader and never written.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <regex>
#include <sstream>

#include "cli/cli.h"
#include "core/favorites/favorites_store.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace {


std::string Internal(std::string hostPath)
{
    for (char& c : hostPath)
        if (c == '/')
            c = '\\';
    return hostPath;
}

// "Чтение" and "Статья" in code page 1251.
const std::string kReading = "\xD7\xF2\xE5\xED\xE8\xE5";
const std::string kArticle = "\xD1\xF2\xE0\xF2\xFC\xFF";

class CliFavoritesTest : public ::testing::Test {
protected:
    void WriteStore(const FavoritesStore& store) { dir.Write("SelFold.dat", SerializeFavorites(store)); }

    PrivateProfile profile;
    TempDir dir;
};

TEST_F(CliFavoritesTest, PrintsEveryFavouriteAsLinesAndAsJson)
{
    FavoritesStore store;
    store.sections.push_back({kReading, {{"     " + kArticle + "\r\nannotation", "D:\\j\\a.htm", kMarkPlain, {}},
                                         {"Second", "http://e.org/b", kMarkPlain, {}}}});
    store.sections.push_back({"Other", {{"Third", "c.htm", kMarkPlain, {}}, {"Fourth", "\\home\\u\\d.htm", kMarkPlain, {}}}});
    WriteStore(store);
    const std::string file = dir.Join("SelFold.dat");

    const ToolRun lines = RunTool({"favorites", file});
    EXPECT_EQ(lines.status, 0) << lines.err;
    EXPECT_EQ(lines.out, "0\tЧтение\t     Статья / annotation\tD:\\j\\a.htm\n"
                         "0\tЧтение\tSecond\thttp://e.org/b\n"
                         "1\tOther\tThird\tc.htm\n"
                         "1\tOther\tFourth\t/home/u/d.htm\n");

    for (const auto& args : {std::vector<std::string>{"--json", "favorites", file},
                             std::vector<std::string>{"favorites", "--json", file}}) {
        const ToolRun json = RunTool(args);
        EXPECT_EQ(json.status, 0) << json.err;
        std::istringstream in(json.out);
        std::string first;
        std::getline(in, first);
        EXPECT_EQ(nlohmann::json::parse(first),
                  nlohmann::json({{"section", 0}, {"name", "Чтение"}, {"title", "     Статья\r\nannotation"},
                                  {"link", "D:\\j\\a.htm"}}));
    }
}

TEST_F(CliFavoritesTest, HtmlIsABookmarksFileOfFoldersOfLinks)
{
    TempDir journals;
    journals.Write("izone57/text/a1.htm", "<html></html>");
    FavoritesStore store;
    store.sections.push_back(
        {"A & <B>",
         {{"     Page one\r\nWhat it says", Internal(dir.Join("my page#1.htm")), kMarkPlain, {}},
          {"Address", "http://e.org/?a=1&b=2", kMarkPlain, {}}}});
    store.sections.push_back({kReading,
                              {{"From Windows", "D:\\journals\\IZONE57\\text\\a1.htm", kMarkPlain, {}},
                               {"Not here", "E:\\x\\gold3\\a.htm", kMarkPlain, {}}}});
    WriteStore(store);

    const ToolRun run = RunTool({"--dir", journals.path(), "favorites", "--html", dir.Join("SelFold.dat")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.starts_with("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"));
    EXPECT_NE(run.out.find("charset=UTF-8"), std::string::npos);

    const std::regex folder("<DT><H3>([^<]*)</H3>");
    std::vector<std::string> folders;
    for (auto it = std::sregex_iterator(run.out.begin(), run.out.end(), folder); it != std::sregex_iterator(); ++it)
        folders.push_back((*it)[1]);
    EXPECT_EQ(folders, (std::vector<std::string>{"A &amp; &lt;B&gt;", "Чтение"}));

    const std::regex link("<DT><A HREF=\"([^\"]*)\">([^<]*)</A>");
    std::vector<std::pair<std::string, std::string>> links;
    for (auto it = std::sregex_iterator(run.out.begin(), run.out.end(), link); it != std::sregex_iterator(); ++it)
        links.emplace_back((*it)[1], (*it)[2]);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"file://" + dir.Join("my%20page%231.htm"), "Page one"},
        {"http://e.org/?a=1&amp;b=2", "Address"},
        {"file://" + journals.Join("izone57/text/a1.htm"), "From Windows"},
        {"file:///E:/x/gold3/a.htm", "Not here"},
    };
    EXPECT_EQ(links, expected);
    EXPECT_NE(run.out.find("</A>\n        <DD>What it says\n"), std::string::npos);
}

TEST_F(CliFavoritesTest, ReadsSelFoldInTheCurrentFolderAndNeverWritesIt)
{
    FavoritesStore store;
    store.sections.push_back({"S", {{"T", "l", kMarkPlain, {}}}});
    WriteStore(store);
    const std::string before = dir.Read("SelFold.dat");
    const std::string tool = std::string("'") + VESTRELS_CLI_PATH + "'";

    const std::string command = "cd '" + dir.path() + "' && " + tool + " favorites > out.txt";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(dir.Read("out.txt"), "0\tS\tT\tl\n");
    EXPECT_EQ(dir.Read("SelFold.dat"), before);

    // The program makes an empty file when there is none; the tool does not.
    TempDir empty;
    const std::string missing = "cd '" + empty.path() + "' && " + tool + " favorites 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(missing.c_str())), 1);
    EXPECT_FALSE(std::filesystem::exists(empty.Join("SelFold.dat")));
}

}  // namespace
