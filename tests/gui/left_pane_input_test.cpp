// SPDX-License-Identifier: GPL-3.0-or-later
// The left pane driven by real clicks and keys: where the focus goes after an
// issue is chosen, and which issue is current after a change of tabs.
#include <gtest/gtest.h>

#include <wx/listbox.h>
#include <wx/notebook.h>
#include <wx/uiaction.h>

#include "gui/frame/main_frame.h"
#include "gui/view/quillbox_view.h"
#include "gui/gui_support.h"
#include "gui/leftpane/left_view.h"

namespace {

class LeftPaneInput : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* folder : {"izone57", "izone58", "izone59"})
            WriteIssue(env.work, folder, "frame\\left.htm", 100);
        env.StoreWorkingDirectory(env.work.path());
        ASSERT_TRUE(env.OpenMainWindow());
        env.frame->SetClientSize(800, 500);
        Pump(100);
        IssueList()->Bind(wxEVT_LISTBOX, [this](wxCommandEvent& event) {
            ++choices;
            event.Skip();
        });
    }

    wxListBox* IssueList() const { return IssueListOf(env.frame); }
    wxNotebook* Tabs() const { return dynamic_cast<wxNotebook*>(env.frame->FindWindow(ID_TAB_CONTROL)); }
    CQuillboxView* View() const { return env.frame->articleView(); }
    int Current() const { return env.frame->session().currentIndex(); }

    void ClickAt(wxWindow* window, wxPoint point)
    {
        sim.MouseMove(window->ClientToScreen(point));
        Pump(30);
        sim.MouseClick();
        Pump(150);
    }

    void ClickRow(int row)
    {
        wxListBox* list = IssueList();
        for (int y = 1; y < list->GetClientSize().y; ++y)
            if (list->HitTest(20, y) == row)
                return ClickAt(list, wxPoint(20, y + 4));
        FAIL() << "row " << row << " is not on screen";
    }

    void ClickTab(int tab)
    {
        wxNotebook* tabs = Tabs();
        for (int x = 1; x < tabs->GetClientSize().x; ++x)
            for (int y = 1; y < 40; y += 3)
                if (tabs->HitTest(wxPoint(x, y)) == tab)
                    return ClickAt(tabs, wxPoint(x + 8, y + 4));
        FAIL() << "tab " << tab << " is not on screen";
    }

    void Press(int key)
    {
        sim.Char(key);
        Pump(100);
    }

    GuiEnvironment env;
    wxUIActionSimulator sim;
    int choices = 0;
};

}  // namespace

// The list used to keep the focus, so the arrow keys moved the list.
TEST_F(LeftPaneInput, ChoosingAnIssueGivesTheFocusToTheArticleView)
{
    ClickRow(1);
    EXPECT_EQ(Current(), 1);
    EXPECT_EQ(choices, 1);
    EXPECT_EQ(wxWindow::FindFocus(), View());

    Press(WXK_DOWN);
    EXPECT_EQ(IssueList()->GetSelection(), 1);
    EXPECT_GT(View()->viewState().scrollPosition, 0);

    // Choosing by keyboard in the list moves the focus to the view as well.
    IssueList()->SetFocus();
    Pump(50);
    Press(WXK_DOWN);
    EXPECT_EQ(Current(), 2);
    EXPECT_EQ(wxWindow::FindFocus(), View());
    EXPECT_EQ(View()->viewState().scrollPosition, 0);
}

// The list box selected its first row when it took the focus, so an issue
// was drawn although none was current.
TEST_F(LeftPaneInput, ContentsAfterSearchShowsNoIssue)
{
    ClickRow(2);
    ClickTab(1);
    EXPECT_EQ(Current(), -1);
    choices = 0;
    ClickTab(0);
    EXPECT_EQ(Current(), -1);
    EXPECT_EQ(IssueList()->GetSelection(), wxNOT_FOUND);
    EXPECT_FALSE(env.frame->leftPane()->contentsPage.issueChosen);

    // Back from the favourites the issue that was current before is selected
    // again without being chosen: the focus stays where the click put it.
    ClickRow(2);
    ClickTab(2);
    ClickTab(0);
    EXPECT_EQ(Current(), 2);
    EXPECT_EQ(IssueList()->GetSelection(), 2);
    EXPECT_FALSE(env.frame->leftPane()->contentsPage.issueChosen);
    EXPECT_NE(wxWindow::FindFocus(), View());
}
