// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a user meets it: first start, bars, the split and the
// tabs of the left pane.
#include <gtest/gtest.h>

#include <wx/listbox.h>
#include <wx/notebook.h>
#include <wx/splitter.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include "gui/frame/ids.h"
#include "gui/frame/main_frame.h"
#include "gui/view/quillbox_view.h"
#include "gui/gui_support.h"
#include "gui/leftpane/left_view.h"

using namespace std::string_literals;

namespace {

class MainFrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* folder : {"izone57", "izone58", "gold3", "release24"})
            WriteIssue(env.work, folder, ".\\frame\\left.htm", 3);
        env.StoreWorkingDirectory(env.work.path());
    }

    wxNotebook* Tabs() const { return dynamic_cast<wxNotebook*>(env.frame->FindWindow(ID_TAB_CONTROL)); }
    wxListBox* IssueList() const { return IssueListOf(env.frame); }
    void ChooseTab(int index) { ::ChooseTab(env.frame, index); }
    void ChooseIssue(int row) { ::ChooseIssue(env.frame, row); }
    void Command(int id) { SendCommand(env.frame, id); }

    GuiEnvironment env;
};

}  // namespace

TEST_F(MainFrameTest, FirstStartShowsEverythingWithDefaultsAndStoresTheCatalogue)
{
    CMainFrame* frame = env.OpenMainWindow();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->GetTitle(), wxString::FromUTF8("Работа с оглавлением - Quillbox"));
    EXPECT_TRUE(frame->GetToolBar()->IsShown());
    EXPECT_TRUE(frame->GetStatusBar()->IsShown());
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), wxString::FromUTF8("Готово"));
    EXPECT_EQ(frame->textStyles(), DefaultTextStyles());
    EXPECT_EQ(Tabs()->GetPageCount(), 3u);
    EXPECT_EQ(Tabs()->GetPageText(2), wxString::FromUTF8("Избранное"));

    // Only the contents page has a window, and it lists the library.
    EXPECT_TRUE(frame->leftPane()->contentsPage.window());
    EXPECT_FALSE(frame->leftPane()->searchPage.window());
    EXPECT_EQ(IssueList()->GetCount(), 4u);
    EXPECT_EQ(IssueList()->GetSelection(), wxNOT_FOUND);

    EXPECT_EQ(env.Value("NumNameJournals"), "\x05\0\0\0"s);
    EXPECT_EQ(env.Value("NameJournals").size(), 39u);

    // Ratio 2: two panes of the same width, give or take the sash.
    const int left = frame->leftPane()->GetSize().x;
    const int right = frame->articleView()->GetSize().x;
    EXPECT_NEAR(left, right, 8);
}

TEST_F(MainFrameTest, StoredHiddenToolbarShortensTheFrameAfterStartAndKeepsThePanes)
{
    env.StoreValue("Toolbar", "01");
    CMainFrame* frame = env.OpenMainWindow();
    ASSERT_TRUE(frame);
    EXPECT_FALSE(frame->GetToolBar()->IsShown());
    EXPECT_TRUE(frame->GetStatusBar()->IsShown());
    EXPECT_GT(frame->toolBarRect.Height(), 0);

    // The same window with the toolbar shown is taller by just the toolbar.
    GuiEnvironment shown;
    for (const char* folder : {"izone57"})
        WriteIssue(shown.work, folder, ".\\frame\\left.htm", 3);
    shown.StoreWorkingDirectory(shown.work.path());
    CMainFrame* reference = shown.OpenMainWindow();
    ASSERT_TRUE(reference);
    EXPECT_EQ(reference->GetSize().y - frame->GetSize().y, frame->toolBarRect.Height());
    EXPECT_EQ(reference->leftPane()->GetSize().y, frame->leftPane()->GetSize().y);
    EXPECT_EQ(reference->articleView()->GetSize(), frame->articleView()->GetSize());
}

TEST_F(MainFrameTest, HidingTheStatusBarShortensTheFrameByTheToolbarHeight)
{
    CMainFrame* frame = env.OpenMainWindow();
    ASSERT_TRUE(frame);
    const int before = frame->GetSize().y;
    Command(ID_CMD_TOGGLE_STATUS_BAR);
    EXPECT_FALSE(frame->GetStatusBar()->IsShown());
    EXPECT_EQ(before - frame->GetSize().y, frame->toolBarRect.Height());
    EXPECT_EQ(env.Value("Toolbar"), "10");

    Command(ID_CMD_TOGGLE_STATUS_BAR);
    EXPECT_TRUE(frame->GetStatusBar()->IsShown());
    EXPECT_EQ(frame->GetSize().y, before);
    EXPECT_EQ(env.Value("Toolbar"), "11");
}

TEST_F(MainFrameTest, MovingTheSplitterStoresTheRatio)
{
    CMainFrame* frame = env.OpenMainWindow();
    ASSERT_TRUE(frame);
    auto* splitter = dynamic_cast<wxSplitterWindow*>(frame->FindWindow(ID_SPLITTER));
    ASSERT_TRUE(splitter);
    splitter->SetSashPosition(300);
    Pump(50);
    const int width = frame->leftPane()->GetSize().x;
    const double stored = std::stod(env.Value("LeftShare"));
    EXPECT_NEAR(stored, frame->GetClientSize().x / (width + 2.0), 1e-6);
    EXPECT_EQ(env.Value("LeftShare").find('.'), 1u);  // "%.6f", no terminator
    EXPECT_EQ(env.Value("LeftShare").size(), 8u);
}

TEST_F(MainFrameTest, TabsKeepAndRestoreTheCurrentIssue)
{
    CMainFrame* frame = env.OpenMainWindow();
    ASSERT_TRUE(frame);
    CLeftView* pane = frame->leftPane();
    ChooseIssue(3);
    EXPECT_EQ(frame->session().currentIndex(), 3);

    // Contents → favourites → contents: the issue is selected again.
    ChooseTab(2);
    EXPECT_EQ(pane->currentPage, &pane->favoritesPage);
    EXPECT_FALSE(pane->contentsPage.window());
    ChooseTab(0);
    EXPECT_EQ(pane->currentPage, &pane->contentsPage);
    EXPECT_EQ(IssueList()->GetSelection(), 3);

    // Contents → search → contents gives back the index saved on the way to
    // the favourites, not the one of the search.
    ChooseIssue(1);
    ChooseTab(1);
    EXPECT_EQ(frame->session().currentIndex(), -1);
    ChooseTab(0);
    EXPECT_EQ(frame->session().currentIndex(), 3);
}

TEST_F(MainFrameTest, SearchTabWithoutAVisitToTheFavouritesSelectsNothing)
{
    CMainFrame* frame = env.OpenMainWindow();
    ASSERT_TRUE(frame);
    ChooseIssue(2);
    ChooseTab(1);
    ChooseTab(0);
    EXPECT_EQ(frame->session().currentIndex(), -1);
    EXPECT_EQ(IssueList()->GetSelection(), wxNOT_FOUND);
}

TEST_F(MainFrameTest, WorkingDirectoryIsOfferedOnlyOnTheContentsTab)
{
    CMainFrame* frame = env.OpenMainWindow();
    ASSERT_TRUE(frame);
    const auto enabled = [&](int id) {
        wxUpdateUIEvent event(id);
        frame->GetEventHandler()->ProcessEvent(event);
        return event.GetEnabled();
    };
    EXPECT_TRUE(enabled(ID_CMD_WORKING_DIRECTORY));
    EXPECT_FALSE(enabled(ID_CMD_READ));
    ChooseIssue(0);
    EXPECT_TRUE(enabled(ID_CMD_READ));
    ChooseTab(1);
    EXPECT_FALSE(enabled(ID_CMD_WORKING_DIRECTORY));
    ChooseTab(2);
    EXPECT_FALSE(enabled(ID_CMD_WORKING_DIRECTORY));
}

TEST_F(MainFrameTest, NewDocumentKeySetsTheTitleAgain)
{
    CMainFrame* frame = env.OpenMainWindow();
    ASSERT_TRUE(frame);
    frame->SetTitle("x");
    Command(ID_CMD_NEW);
    EXPECT_EQ(frame->GetTitle(), wxString::FromUTF8("Работа с оглавлением - Quillbox"));
}
