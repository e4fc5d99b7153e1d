// The rules that turn a link into the target handed to the desktop.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "library/article_target.h"

namespace {

Library MakeLibrary(std::string workDirectory)
{
    Library library;
    library.workPattern = workDirectory + "\\*";
    library.folderNames = {"gold3", "izone57"};
    library.issues.resize(2);
    return library;
}

struct TargetCase {
    const char* name;
    std::string workDirectory;
    std::string link;
    bool relative;
    std::string expected;
};

class ArticleTargetTest : public ::testing::TestWithParam<TargetCase> {};

TEST_P(ArticleTargetTest, Target)
{
    const TargetCase& c = GetParam();
    EXPECT_EQ(ArticleTarget(MakeLibrary(c.workDirectory), 1, c.link, c.relative), c.expected);
}

const std::string kJournals = "D:\\journals";

INSTANTIATE_TEST_SUITE_P(
    Cases, ArticleTargetTest,
    ::testing::Values(
        TargetCase{"EmptyIsStartPage", kJournals, "", true, "D:\\journals\\izone57\\index.htm"},
        TargetCase{"ParentLink", kJournals, "../text/a1.htm", true, "D:\\journals\\izone57\\text\\a1.htm"},
        TargetCase{"TwoParentsDoubleTheSeparator", kJournals, "../../x.htm", true, "D:\\journals\\izone57\\\\x.htm"},
        TargetCase{"MainPage", kJournals, "main.htm", true, "D:\\journals\\izone57\\frame\\main.htm"},
        TargetCase{"MainPageWithFragmentIsPlain", kJournals, "main.htm#top", true,
                   "D:\\journals\\izone57\\main.htm#top"},
        TargetCase{"MainPageInOtherCaseIsPlain", kJournals, "Main.htm", true, "D:\\journals\\izone57\\Main.htm"},
        TargetCase{"ForwardSlashesStay", kJournals, "pages/a.htm", true, "D:\\journals\\izone57\\pages/a.htm"},
        TargetCase{"AddressUnchanged", kJournals, "http://example.org/a.htm", true, "http://example.org/a.htm"},
        TargetCase{"HttpAnywhereUnchanged", kJournals, "a.htm?from=http", true, "a.htm?from=http"},
        TargetCase{"HttpBeatsParent", kJournals, "../http.htm", true, "../http.htm"},
        TargetCase{"FileAddressUnchanged", kJournals, "file:///d/a.htm", true, "file:///d/a.htm"},
        TargetCase{"MiInPathUsesBoss", "D:\\admin\\journals", "a.htm", true,
                   "D:\\admin\\journals\\izone57\\boss\\a.htm"},
        TargetCase{"MiInPathStartPageStays", "D:\\admin\\journals", "", true,
                   "D:\\admin\\journals\\izone57\\index.htm"},
        TargetCase{"MiInPathMainPageStays", "D:\\admin\\journals", "main.htm", true,
                   "D:\\admin\\journals\\izone57\\frame\\main.htm"},
        TargetCase{"StoredLinkUnchanged", kJournals, "D:\\journals\\izone57\\a.htm", false,
                   "D:\\journals\\izone57\\a.htm"},
        TargetCase{"StoredEmptyLinkUnchanged", kJournals, "", false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ArticleTarget, NoIssueSelectedGivesNothing)
{
    const Library library = MakeLibrary(kJournals);
    EXPECT_EQ(ArticleTarget(library, -1, "a.htm", true), std::nullopt);
    EXPECT_EQ(ArticleTarget(library, -1, "D:\\a.htm", false), std::nullopt);
}

TEST(ArticleTarget, IssuePastTheLibraryGivesNothing)
{
    const Library library = MakeLibrary(kJournals);
    EXPECT_EQ(ArticleTarget(library, 2, "a.htm", true), std::nullopt);
    EXPECT_EQ(ArticleTarget(Library{}, 0, "", true), std::nullopt);
}

TEST(ArticleTarget, StoredLinkOpensWhateverSectionIsSelected)
{
    // The index then names a favourites section, which may exceed the issues.
    EXPECT_EQ(ArticleTarget(Library{}, 5, "http://x", false), "http://x");
}

class OpeningHost : public platform::HostUi {
public:
    std::vector<std::string> opened;

    platform::MessageAnswer ShowMessage(const std::string&, const std::string&, platform::MessageIcon,
                                        platform::MessageButtons) override
    {
        return platform::MessageAnswer::Ok;
    }
    std::optional<std::string> BrowseForFolder(const std::string&) override { return std::nullopt; }
    bool SetClipboardText(const std::string&) override { return true; }
    void OpenTarget(const std::string& target) override { opened.push_back(target); }
};

TEST(OpenArticle, HandsTheTargetOverOnlyWhenThereIsOne)
{
    OpeningHost host;
    const Library library = MakeLibrary(kJournals);
    OpenArticle(host, library, 0, "a.htm", true);
    OpenArticle(host, library, -1, "b.htm", true);
    OpenArticle(host, library, 7, "c.htm", true);
    EXPECT_EQ(host.opened, (std::vector<std::string>{"D:\\journals\\gold3\\a.htm"}));
}

}  // namespace
