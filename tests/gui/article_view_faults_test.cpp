// SPDX-License-Identifier: GPL-3.0-or-later
// The article view with a 100-entry issue, driven as a user drives it: real
// clicks, keys and wheel turns through the X server, and the refresh tick.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>

#include <wx/scrolbar.h>
#include <wx/uiaction.h>

#include "gui/frame/main_frame.h"
#include "gui/view/quillbox_view.h"
#include "gui/gui_support.h"
#include "gui/leftpane/left_view.h"

namespace {

constexpr int kEntries = 100;

/// Turns the wheel through the X server's test extension, which the window
/// toolkit's own simulator does not offer for the wheel. Both libraries are
/// already loaded by the toolkit.
bool TurnWheel(int notchesTowardsUser)
{
    using DisplayFn = void* (*)();
    using ButtonFn = int (*)(void*, unsigned, int, unsigned long);
    using FlushFn = int (*)(void*);
    const auto display = reinterpret_cast<DisplayFn>(dlsym(RTLD_DEFAULT, "gdk_x11_get_default_xdisplay"));
    const auto button = reinterpret_cast<ButtonFn>(dlsym(RTLD_DEFAULT, "XTestFakeButtonEvent"));
    const auto flush = reinterpret_cast<FlushFn>(dlsym(RTLD_DEFAULT, "XFlush"));
    if (!display || !button || !flush || !display())
        return false;
    // X buttons 4 and 5 are the wheel turned away from and towards the user.
    const unsigned x = notchesTowardsUser > 0 ? 5 : 4;
    for (int i = 0; i < std::abs(notchesTowardsUser); ++i) {
        button(display(), x, 1, 0);
        button(display(), x, 0, 0);
    }
    flush(display());
    return true;
}

class ArticleViewFaults : public testing::Test {
protected:
    void SetUp() override
    {
        WriteIssue(env.work, "izone57", "frame\\left.htm", kEntries);
        env.StoreWorkingDirectory(env.work.path());
        ASSERT_TRUE(env.OpenMainWindow());
        env.frame->SetClientSize(800, 500);
        view = env.frame->articleView();
        view->Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
            ++paints;
            event.Skip();
        });
        view->Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& event) {
            if (!event.LeftIsDown())
                ++flaglessPresses;
            event.Skip();
        });
        ChooseIssue(env.frame, 0);
        ASSERT_TRUE(PumpUntil([this] { return Entry(0).hitRect.top == 10 && view->viewState().lineStep > 0; }));
        Pump(100);
    }

    ArticleEntry& Entry(int i) { return env.frame->session().library().issues[0].articles[i]; }
    const ArticleViewState& State() const { return view->viewState(); }
    int ClientHeight() const { return view->GetClientSize().y; }
    wxScrollBar* ScrollBar() const { return dynamic_cast<wxScrollBar*>(view->FindWindow(ID_ARTICLE_SCROLL_BAR)); }

    /// Puts the pointer over a point of the view's client area.
    void PointAt(int x, int y)
    {
        sim.MouseMove(view->ClientToScreen(wxPoint(x, y)));
        Pump(30);
    }
    void ClickAt(int x, int y)
    {
        PointAt(x, y);
        sim.MouseClick();
        Pump(50);
    }
    void PressKey(int key)
    {
        sim.Char(key);
        Pump(30);
    }

    int paints = 0;
    int flaglessPresses = 0;
    GuiEnvironment env;
    CQuillboxView* view = nullptr;
    wxUIActionSimulator sim;
};

}  // namespace

// Every paint told the scroll bar its range again, and GTK answered each time
// with a resize and another paint.
TEST_F(ArticleViewFaults, IdleViewRepaintsForever)
{
    Pump(400);
    paints = 0;
    Pump(500);
    EXPECT_LE(paints, 2);
}

// The tick's press has no button-state flags; the event type alone made it
// count as a click beside all entries, which dropped the selection.
TEST_F(ArticleViewFaults, RefreshTickPressClearsTheSelection)
{
    const HitRect second = Entry(1).hitRect;
    ClickAt((second.left + second.right) / 2, (second.top + second.bottom) / 2);
    ASSERT_TRUE(PumpUntil([this] { return Entry(1).mark == kMarkSelected; }));
    ASSERT_EQ(env.frame->session().selectedArticle(), 1);
    ASSERT_EQ(flaglessPresses, 0);  // a real click carries the left button's flag

    view->ArmRefreshTick();
    ASSERT_TRUE(PumpUntil([this] { return flaglessPresses > 0; }, 2000));
    Pump(100);
    EXPECT_EQ(flaglessPresses, 1);  // one tick, not repeated
    EXPECT_EQ(Entry(1).mark, kMarkSelected);
    EXPECT_EQ(env.frame->session().selectedArticle(), 1);
    EXPECT_FALSE(env.frame->session().listItemChosen());
}

// The wheel over the view did nothing; only the scroll bar reacted.
TEST_F(ArticleViewFaults, WheelOverTheViewDoesNotScroll)
{
    const int step = State().lineStep;
    const int maximum = State().scrollMaximum;
    ASSERT_GT(maximum, 9 * step);
    PointAt(200, 200);
    struct Turn {
        int notches;
        int position;
    };
    const Turn turns[] = {{1, 3 * step}, {2, 9 * step}, {-1, 6 * step}, {-5, 0}, {1000, maximum}, {1, maximum}};
    for (const Turn& turn : turns) {
        ASSERT_TRUE(TurnWheel(turn.notches));
        EXPECT_TRUE(PumpUntil([&] { return State().scrollPosition == turn.position; }, 2000))
            << turn.notches << " notches: " << State().scrollPosition;
        EXPECT_EQ(ScrollBar()->GetThumbPosition(), turn.position) << turn.notches;
    }
}

// The maximum was "last top + y": about twice the list, and depending on the
// position it was computed at, so Page Down at the end alternated between the
// last lines and an empty pane; the thumb was one pixel long.
TEST_F(ArticleViewFaults, PageDownAtTheEndShowsAnEmptyPane)
{
    ClickAt(3, 100);  // beside the entries: focus, no selection
    ASSERT_TRUE(PumpUntil([this] { return wxWindow::FindFocus() == view; }));
    const int height = ClientHeight();
    for (int key = 0; key < 40 && State().scrollPosition < State().scrollMaximum; ++key)
        PressKey(WXK_PAGEDOWN);
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            PressKey(WXK_PAGEDOWN);
        Pump(100);
        const int maximum = State().scrollMaximum;
        ASSERT_GT(maximum, 0);
        EXPECT_EQ(State().scrollPosition, maximum) << "press " << i;
        // The last block ends 10 px above the bottom edge.
        EXPECT_EQ(Entry(kEntries - 1).hitRect.bottom + 10, height) << "press " << i;
        wxScrollBar* bar = ScrollBar();
        EXPECT_EQ(bar->GetThumbPosition(), maximum);
        EXPECT_EQ(bar->GetThumbSize(), height);
        EXPECT_EQ(bar->GetPageSize(), height);
        EXPECT_EQ(bar->GetRange(), maximum + height);
    }
}
