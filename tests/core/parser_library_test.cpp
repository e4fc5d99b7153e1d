// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing every issue of a library from its contents files on disk.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/library/contents_parser.h"
#include "platform/paths.h"
#include "support/temp_dir.h"

namespace {

struct ShownMessage {
    std::string text, caption;
    platform::MessageIcon icon;
    platform::MessageButtons buttons;
};

class RecordingHost : public platform::HostUi {
public:
    std::vector<ShownMessage> messages;

    platform::MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                        platform::MessageIcon icon, platform::MessageButtons buttons) override
    {
        messages.push_back({text, caption, icon, buttons});
        return platform::MessageAnswer::Ok;
    }
    std::optional<std::string> BrowseForFolder(const std::string&) override { return std::nullopt; }
    bool SetClipboardText(const std::string&) override { return true; }
    void OpenTarget(const platform::shell::Target&) override {}
};

// "Ошибка открытия файла" in code page 1251.
const std::string kOpenErrorCaption =
    "\xCE\xF8\xE8\xE1\xEA\xE0 \xEE\xF2\xEA\xF0\xFB\xF2\xE8\xFF \xF4\xE0\xE9\xEB\xE0";

class ParseContentsTest : public ::testing::Test {
protected:
    TempDir dir;
    JournalCatalogue catalogue{{{"izone", ".\\frame\\left.htm", "Zone "}}};
    Library library;
    RecordingHost host;

    void SetUp() override
    {
        library.workPattern = platform::paths::FromHost(dir.Join("journals")) + "\\*";
        library.folderNames = {"izone56", "izone57", "izone58"};
        library.issues.resize(3);
        for (std::size_t i = 0; i < 3; ++i)
            library.issues[i].caption = "caption " + std::to_string(i);
    }
};

TEST_F(ParseContentsTest, ReadsEachIssueAndReportsTheMissingOne)
{
    dir.Write("journals/izone56/frame/left.htm", "<li><a href=\"a.htm\">Alpha</a></li>\r\n");
    dir.Write("journals/izone58/frame/left.htm", "<tr><td>Head</td></tr>\n<li><a href=\"b.htm\">Beta</a></li>\n");
    library.issues[1].articles[0].title = "     stale";

    ParseContents(host, catalogue, library);

    EXPECT_EQ(library.issues[0].articles[0].title, "     Alpha");
    EXPECT_EQ(library.issues[0].articles[0].link, "a.htm");
    EXPECT_EQ(library.issues[1].articles[0].title, "");
    EXPECT_EQ(library.issues[2].articles[0].title, "     Head");
    EXPECT_EQ(library.issues[2].articles[1].link, "b.htm");
    EXPECT_EQ(library.issues[1].caption, "caption 1");

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, dir.Join("journals/izone57/frame/left.htm"));  // as the host writes it
    EXPECT_EQ(host.messages[0].caption, kOpenErrorCaption);
    EXPECT_EQ(host.messages[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(host.messages[0].buttons, platform::MessageButtons::Ok);
}

TEST_F(ParseContentsTest, PathIsFolderFollowedByContentsPath)
{
    EXPECT_EQ(ContentsFilePath(catalogue, library, 1),
              library.workPattern.substr(0, library.workPattern.size() - 1) + "izone57.\\frame\\left.htm");
}

TEST_F(ParseContentsTest, EveryFailingIssueShowsItsOwnBox)
{
    ParseContents(host, catalogue, library);
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_EQ(host.messages[2].text, dir.Join("journals/izone58/frame/left.htm"));
}

}  // namespace
