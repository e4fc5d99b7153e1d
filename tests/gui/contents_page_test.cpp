// SPDX-License-Identifier: GPL-3.0-or-later
// The "Оглавление" tab: building the library, choosing and opening issues,
// and the rebuild after a new working directory.
#include <gtest/gtest.h>

#include <filesystem>

#include <wx/listbox.h>
#include <wx/msgdlg.h>
#include <wx/notebook.h>

#include "gui/frame/ids.h"
#include "gui/frame/main_frame.h"
#include "gui/view/quillbox_view.h"
#include "gui/gui_support.h"
#include "gui/leftpane/left_view.h"

namespace {

class ContentsPageTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* folder : {"izone57", "izone58", "gold3"})
            WriteIssue(env.work, folder, ".\\frame\\left.htm", 2);
    }

    CContentsPage& Page() const { return env.frame->leftPane()->contentsPage; }
    wxListBox* IssueList() const { return IssueListOf(env.frame); }
    std::vector<wxString> Rows() const
    {
        std::vector<wxString> rows;
        for (unsigned i = 0; i < IssueList()->GetCount(); ++i)
            rows.push_back(IssueList()->GetString(i));
        return rows;
    }
    void SendListEvent(wxEventType type, int row) { ChooseIssue(env.frame, row, type); }
    void ChooseTab(int index) { ::ChooseTab(env.frame, index); }
    void Command(int id) { SendCommand(env.frame, id); }

    GuiEnvironment env;
};

}  // namespace

TEST_F(ContentsPageTest, FirstStartWithoutAWorkingDirectoryAsksForOne)
{
    // The user picks an issue folder: its parent becomes the working directory.
    wxTEST_DIALOG(env.OpenMainWindow(), ExpectFolder(env.work.Join("izone57")));
    ASSERT_TRUE(env.frame);
    EXPECT_EQ(Rows(), (std::vector<wxString>{"InternetZone3", "InternetZone57", "InternetZone58"}));
    std::string stored = env.Value("Journals");
    EXPECT_EQ(stored.back(), '*');
    EXPECT_EQ(stored.find('\\'), 0u);  // the internal form, "\" separators
    EXPECT_EQ(stored.find("izone57"), std::string::npos);
}

TEST_F(ContentsPageTest, ChoosingARowDrawsThatIssueAndMovesTheFocus)
{
    env.StoreWorkingDirectory(env.work.path());
    ASSERT_TRUE(env.OpenMainWindow());
    EXPECT_EQ(env.frame->session().currentIndex(), -1);
    EXPECT_FALSE(Page().issueChosen);

    SendListEvent(wxEVT_LISTBOX, 1);
    Pump(20);
    EXPECT_EQ(env.frame->session().currentIndex(), 1);
    EXPECT_TRUE(Page().issueChosen);
    EXPECT_TRUE(env.frame->session().listItemChosen());
    EXPECT_EQ(wxWindow::FindFocus(), env.frame->articleView());

    // The list keeps 10 pixels from every edge of the page.
    const wxRect list = IssueList()->GetRect();
    const wxSize page = Page().window()->GetClientSize();
    EXPECT_EQ(list.x, 10);
    EXPECT_EQ(list.y, 10);
    EXPECT_EQ(list.GetRight() + 1, page.x - 10);
    EXPECT_EQ(list.GetBottom() + 1, page.y - 10);
}

TEST_F(ContentsPageTest, DoubleClickAndReadOpenTheStartPage)
{
    env.StoreWorkingDirectory(env.work.path());
    ASSERT_TRUE(env.OpenMainWindow());
    SendListEvent(wxEVT_LISTBOX, 0);
    SendListEvent(wxEVT_LISTBOX_DCLICK, 0);
    ASSERT_EQ(env.opened.size(), 1u);
    EXPECT_EQ(env.opened[0].kind, platform::shell::TargetKind::File);
    EXPECT_EQ(env.opened[0].value, env.work.Join("gold3/index.htm"));

    Command(ID_CMD_READ);
    ASSERT_EQ(env.opened.size(), 2u);
    EXPECT_EQ(env.opened[1].value, env.work.Join("gold3/index.htm"));
}

TEST_F(ContentsPageTest, TabChangesListTheSameIssuesWithoutReadingAgain)
{
    env.StoreWorkingDirectory(env.work.path());
    ASSERT_TRUE(env.OpenMainWindow());
    const auto before = Rows();
    env.frame->session().library().issues[0].articles[0].mark = kMarkFound;

    // Were the pages read again, each missing one would bring up a message.
    std::filesystem::remove_all(env.work.Join("izone57/frame"));
    ChooseTab(1);
    ChooseTab(0);
    EXPECT_EQ(Rows(), before);
    EXPECT_EQ(env.frame->session().library().issues[1].articles[0].title, "     Article 1");
    EXPECT_EQ(env.frame->session().library().issues[0].articles[0].mark, kMarkPlain);
}

TEST_F(ContentsPageTest, WorkingDirectoryCommandRebuildsTheLibrary)
{
    env.StoreWorkingDirectory(env.work.path());
    ASSERT_TRUE(env.OpenMainWindow());
    SendListEvent(wxEVT_LISTBOX, 2);

    // A folder name without digits or hyphens: it is not taken for an issue.
    TempDir other;
    WriteIssue(other, "journals/release24", ".\\frame\\left.htm", 1);
    WriteIssue(other, "journals/protoplex1", ".\\mainbody\\menu.html", 1);
    wxTEST_DIALOG(Command(ID_CMD_WORKING_DIRECTORY), ExpectFolder(other.Join("journals")));
    EXPECT_EQ(Rows(), (std::vector<wxString>{"InternetZone24", "ProtoPlex1"}));
    EXPECT_EQ(IssueList()->GetSelection(), wxNOT_FOUND);
    EXPECT_EQ(env.frame->session().currentIndex(), -1);
}

TEST_F(ContentsPageTest, AMissingContentsPageIsReportedOnceAndTheRestIsListed)
{
    std::filesystem::remove(env.work.Join("izone58/frame/left.htm"));
    env.StoreWorkingDirectory(env.work.path());
    wxTEST_DIALOG(env.OpenMainWindow(), wxExpectModal<wxMessageDialog>(wxID_OK));
    ASSERT_TRUE(env.frame);
    EXPECT_EQ(Rows().size(), 3u);
    EXPECT_EQ(env.frame->session().library().issues[2].articles[0].title, "");
    EXPECT_EQ(env.frame->session().library().issues[1].articles[1].title, "     Article 2");
}

namespace {

/// Answers a message box with OK, after noting its text.
struct ExpectOpenFailure : wxExpectModalBase<wxMessageDialog, ExpectOpenFailure> {
    explicit ExpectOpenFailure(wxString* shown) : shown(shown) {}
    int OnInvoked(wxMessageDialog* dialog) const override { return *shown = dialog->GetMessage(), wxID_OK; }
    wxString* shown;
};

}  // namespace

// An article the desktop cannot open is named, with the reason, without the
// window waiting for the opener: the real xdg-open is replaced on PATH by a
// program that fails as xdg-open does, or is missing.
TEST_F(ContentsPageTest, AnArticleThatCannotBeOpenedIsNamedWithTheReason)
{
    env.StoreWorkingDirectory(env.work.path());
    ASSERT_TRUE(env.OpenMainWindow());
    TheHostUi().SetOpenerForTesting(nullptr);
    wxString savedPath;
    wxGetEnv("PATH", &savedPath);
    TempDir bin;
    const std::pair<const char*, const char*> cases[] = {
        {"#!/bin/sh\nexit 3\n", "(код 3)"},
        {nullptr, "xdg-utils"},
    };
    for (const auto& [opener, reason] : cases) {
        std::filesystem::remove(bin.Join("xdg-open"));
        if (opener) {
            bin.Write("xdg-open", opener);
            std::filesystem::permissions(bin.Join("xdg-open"), std::filesystem::perms::owner_all);
        }
        wxSetEnv("PATH", wxString::FromUTF8(bin.path()));
        wxString shown;
        SendListEvent(wxEVT_LISTBOX, 0);
        wxTEST_DIALOG(SendListEvent(wxEVT_LISTBOX_DCLICK, 0); PumpUntil([&] { return !shown.empty(); }, 5000),
                      ExpectOpenFailure(&shown));
        EXPECT_NE(shown.Find(wxString::FromUTF8(env.work.Join("gold3/index.htm"))), wxNOT_FOUND) << shown;
        EXPECT_NE(shown.Find(wxString::FromUTF8(reason)), wxNOT_FOUND) << shown;
    }
    wxSetEnv("PATH", savedPath);

    // A link that is no absolute path reaches no opener; the status bar says so.
    TheHostUi().OpenTarget({platform::shell::TargetKind::Address, "--help"});
    EXPECT_NE(env.frame->GetStatusBar()->GetStatusText(0).Find("--help"), wxNOT_FOUND);
}
