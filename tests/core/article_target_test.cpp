// SPDX-License-Identifier: GPL-3.0-or-later
// The rules that turn a link into the target handed to the desktop.

#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "core/library/article_target.h"

namespace platform::shell {
void PrintTo(const Target& target, std::ostream* os)
{
    *os << (target.kind == TargetKind::Address ? "address " : "file ") << target.text;
}
}  // namespace platform::shell

namespace {

using platform::shell::Target;
using platform::shell::TargetKind;
constexpr TargetKind kAddress = TargetKind::Address;
constexpr TargetKind kFile = TargetKind::File;

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
    TargetKind kind;
    std::string expected;
};

class ArticleTargetTest : public ::testing::TestWithParam<TargetCase> {};

TEST_P(ArticleTargetTest, Target)
{
    const TargetCase& c = GetParam();
    EXPECT_EQ(ArticleTarget(MakeLibrary(c.workDirectory), 1, c.link, c.relative), (Target{c.kind, c.expected}));
}

const std::string kJournals = "D:\\journals";
const std::string kHttpFolder = "D:\\httpdocs\\file:s";

INSTANTIATE_TEST_SUITE_P(
    Cases, ArticleTargetTest,
    ::testing::Values(
        TargetCase{"EmptyIsStartPage", kJournals, "", true, kFile, "D:\\journals\\izone57\\index.htm"},
        TargetCase{"ParentLink", kJournals, "../text/a1.htm", true, kFile, "D:\\journals\\izone57\\text\\a1.htm"},
        TargetCase{"TwoParentsDoubleTheSeparator", kJournals, "../../x.htm", true, kFile,
                   "D:\\journals\\izone57\\\\x.htm"},
        TargetCase{"MainPage", kJournals, "main.htm", true, kFile, "D:\\journals\\izone57\\frame\\main.htm"},
        TargetCase{"MainPageWithFragmentIsPlain", kJournals, "main.htm#top", true, kFile,
                   "D:\\journals\\izone57\\main.htm#top"},
        TargetCase{"MainPageInOtherCaseIsPlain", kJournals, "Main.htm", true, kFile,
                   "D:\\journals\\izone57\\Main.htm"},
        TargetCase{"ForwardSlashesStay", kJournals, "pages/a.htm", true, kFile, "D:\\journals\\izone57\\pages/a.htm"},
        TargetCase{"AddressUnchanged", kJournals, "http://example.org/a.htm", true, kAddress,
                   "http://example.org/a.htm"},
        TargetCase{"HttpAnywhereUnchanged", kJournals, "a.htm?from=http", true, kAddress, "a.htm?from=http"},
        TargetCase{"HttpBeatsParent", kJournals, "../http.htm", true, kAddress, "../http.htm"},
        TargetCase{"FileAddressUnchanged", kJournals, "file:///d/a.htm", true, kAddress, "file:///d/a.htm"},
        TargetCase{"MiInPathUsesBoss", "D:\\admin\\journals", "a.htm", true, kFile,
                   "D:\\admin\\journals\\izone57\\boss\\a.htm"},
        TargetCase{"MiInPathStartPageStays", "D:\\admin\\journals", "", true, kFile,
                   "D:\\admin\\journals\\izone57\\index.htm"},
        TargetCase{"MiInPathMainPageStays", "D:\\admin\\journals", "main.htm", true, kFile,
                   "D:\\admin\\journals\\izone57\\frame\\main.htm"},
        // Folder names never make an address, whichever rule joins them.
        TargetCase{"HttpFolderMainPageIsFile", kHttpFolder, "main.htm", true, kFile,
                   kHttpFolder + "\\izone57\\frame\\main.htm"},
        TargetCase{"HttpFolderPlainLinkIsFile", kHttpFolder, "a.htm", true, kFile, kHttpFolder + "\\izone57\\a.htm"},
        TargetCase{"StoredLinkUnchanged", kJournals, "D:\\journals\\izone57\\a.htm", false, kFile,
                   "D:\\journals\\izone57\\a.htm"},
        TargetCase{"StoredEmptyLinkUnchanged", kJournals, "", false, kFile, ""},
        TargetCase{"StoredDrivePathUnderHttpFolderIsFile", kJournals, kHttpFolder + "\\izone57\\a.htm", false, kFile,
                   kHttpFolder + "\\izone57\\a.htm"},
        TargetCase{"StoredAddressIsAddress", kJournals, "http://example.org/a.htm", false, kAddress,
                   "http://example.org/a.htm"},
        TargetCase{"StoredRelativeHttpLinkIsAddress", kJournals, "a.htm?from=http", false, kAddress,
                   "a.htm?from=http"}),
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
    EXPECT_EQ(ArticleTarget(Library{}, 5, "http://x", false), (Target{kAddress, "http://x"}));
}

// Maps what it is handed as the desktop does, so a test sees the host form.
class OpeningHost : public platform::HostUi {
public:
    std::vector<Target> opened;
    std::vector<platform::shell::HostTarget> hostForms;

    platform::MessageAnswer ShowMessage(const std::string&, const std::string&, platform::MessageIcon,
                                        platform::MessageButtons) override
    {
        return platform::MessageAnswer::Ok;
    }
    std::optional<std::string> BrowseForFolder(const std::string&) override { return std::nullopt; }
    bool SetClipboardText(const std::string&) override { return true; }
    void OpenTarget(const Target& target) override
    {
        opened.push_back(target);
        hostForms.push_back(platform::shell::ToHostTarget(target));
    }
};

TEST(OpenArticle, HandsTheTargetOverOnlyWhenThereIsOne)
{
    OpeningHost host;
    const Library library = MakeLibrary(kJournals);
    OpenArticle(host, library, 0, "a.htm", true);
    OpenArticle(host, library, -1, "b.htm", true);
    OpenArticle(host, library, 7, "c.htm", true);
    EXPECT_EQ(host.opened, (std::vector<Target>{{kFile, "D:\\journals\\gold3\\a.htm"}}));
}

TEST(OpenArticle, HttpInWorkingDirectoryOpensFilesNotAddresses)
{
    OpeningHost host;
    const Library library = MakeLibrary("\\nonexistent-root\\httpdocs\\journals");
    OpenArticle(host, library, 1, "", true);
    OpenArticle(host, library, 1, "../text/a1.htm", true);
    OpenArticle(host, library, 1, "\\nonexistent-root\\httpdocs\\journals\\gold3\\a.htm", false);
    OpenArticle(host, library, 1, "http://example.org/a.htm", true);
    const std::pair<TargetKind, std::string> expected[] = {
        {kFile, "/nonexistent-root/httpdocs/journals/izone57/index.htm"},
        {kFile, "/nonexistent-root/httpdocs/journals/izone57/text/a1.htm"},
        {kFile, "/nonexistent-root/httpdocs/journals/gold3/a.htm"},
        {kAddress, "http://example.org/a.htm"},
    };
    ASSERT_EQ(host.hostForms.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(host.hostForms[i].kind, expected[i].first) << i;
        EXPECT_EQ(host.hostForms[i].value, expected[i].second) << i;
    }
}

}  // namespace
