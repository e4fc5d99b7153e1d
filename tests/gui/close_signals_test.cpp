// SPDX-License-Identifier: GPL-3.0-or-later
// A termination signal while a modal dialog is up: the dialog ends as Cancel
// would end it, dialogs opened after that are answered at once, and the main
// window closes only when control is back in the main loop.
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <memory>

#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/msgdlg.h>
#include <wx/weakref.h>

#include "gui/gui_support.h"
#include "platform/wx/close_signals.h"

TEST(CloseOnSignals, SignalDuringAModalDialogCancelsItThenClosesTheWindow)
{
    const struct {
        const char* kind;
        std::function<std::unique_ptr<wxDialog>(wxWindow*)> make;
    } dialogs[] = {
        {"the program's own dialog",
         [](wxWindow* parent) { return std::make_unique<wxDialog>(parent, wxID_ANY, "Dialog"); }},
        {"a message box", [](wxWindow* parent) { return std::make_unique<wxMessageDialog>(parent, "Message"); }},
    };
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.kind);
        wxWeakRef<wxFrame> frame(new wxFrame(nullptr, wxID_ANY, "Main"));
        frame->Show();
        bool closedInsideADialog = false;
        int closes = 0;
        std::unique_ptr<wxDialog> dialog = d.make(frame.get());
        frame->Bind(wxEVT_CLOSE_WINDOW, [&](wxCloseEvent& event) {
            ++closes;
            closedInsideADialog = closedInsideADialog || (dialog && dialog->IsShown());
            event.Skip();
        });
        CloseOnSignals closer([&]() -> wxWindow* { return frame.get(); });

        // The signal reaches the program while the dialog's loop runs.
        ASSERT_EQ(std::raise(SIGTERM), 0);
        EXPECT_EQ(dialog->ShowModal(), wxID_CANCEL);
        EXPECT_EQ(closes, 0) << "closed inside the dialog's loop";
        // What the cancelled dialog leads to is cancelled too, without showing.
        {
            wxDialog next(frame.get(), wxID_ANY, "Next");
            EXPECT_EQ(next.ShowModal(), wxID_CANCEL);
        }
        // The frame destroys its children.
        dialog.reset();

        EXPECT_TRUE(PumpUntil([&] { return !frame; }, 3000));
        EXPECT_EQ(closes, 1);
        EXPECT_FALSE(closedInsideADialog);
    }
}
