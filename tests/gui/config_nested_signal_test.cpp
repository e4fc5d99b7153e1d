// SPDX-License-Identifier: GPL-3.0-or-later
// A termination signal while one of the program's dialogs runs inside another
// (the font chooser inside "Выбор  ", the folder name inside the catalogue
// editor): both end as Cancel and the main window closes.
#include <gtest/gtest.h>

#include <csignal>

#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/timer.h>
#include <wx/weakref.h>

#include "gui/gui_support.h"
#include "platform/wx/close_signals.h"

// Ending the outer dialog's loop while the inner one ran quit the inner loop
// twice instead: the outer dialog vanished but its loop never returned, and
// the program hung with its window open.
TEST(CloseOnSignals, SignalDuringANestedDialogEndsBothAndClosesTheWindow)
{
    wxWeakRef<wxFrame> frame(new wxFrame(nullptr, wxID_ANY, "Main"));
    frame->Show();
    CloseOnSignals closer([&]() -> wxWindow* { return frame.get(); });
    int outerResult = 0;
    int innerResult = 0;
    wxTimer signal;
    signal.Bind(wxEVT_TIMER, [](wxTimerEvent&) { std::raise(SIGTERM); });
    // Gives up the outer dialog if the signal did not end it.
    wxTimer watchdog;
    bool gaveUp = false;
    {
        wxDialog outer(frame.get(), wxID_ANY, "Outer");
        // Each tick quits the innermost loop that still runs.
        watchdog.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            gaveUp = true;
            if (wxEventLoopBase* loop = wxEventLoopBase::GetActive())
                loop->Exit(wxID_ABORT);
        });
        outer.CallAfter([&] {
            wxDialog inner(&outer, wxID_ANY, "Inner");
            signal.StartOnce(100);
            innerResult = inner.ShowModal();
        });
        watchdog.Start(3000);
        outerResult = outer.ShowModal();
        watchdog.Stop();
    }
    EXPECT_EQ(innerResult, wxID_CANCEL);
    EXPECT_EQ(outerResult, wxID_CANCEL);
    EXPECT_FALSE(gaveUp);
    EXPECT_TRUE(PumpUntil([&] { return !frame; }, 3000));
}
