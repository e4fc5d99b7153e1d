// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wx/close_signals.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>

#include <glib-unix.h>
#include <gtk/gtk.h>

#include <wx/app.h>
#include <wx/dialog.h>

namespace {

struct SignalHandler {
    int signal;
    std::function<void(int)>* onSignal;
};

std::function<void(int)> g_onSignal;
bool g_terminationRequested = false;

gboolean Dispatch(gpointer data)
{
    const auto* handler = static_cast<SignalHandler*>(data);
    if (*handler->onSignal)
        (*handler->onSignal)(handler->signal);
    return G_SOURCE_CONTINUE;
}

/// Ends one modal dialog as its Cancel button would. Message boxes and the
/// file and folder choosers are native dialogs that run their own loop (or
/// answer through their "response" signal); the program's own dialogs run
/// the framework's modal loop.
void Cancel(wxDialog* dialog)
{
    GtkWidget* widget = dialog->GetHandle();
    if (widget && GTK_IS_DIALOG(widget))
        gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_CANCEL);
    else if (dialog->IsModal())
        dialog->EndModal(wxID_CANCEL);
}

}  // namespace

CloseOnSignals::CloseOnSignals(std::function<wxWindow*()> mainWindow) : mainWindow_(std::move(mainWindow))
{
    Register();
    HandleTerminationSignals([this](int signal) { OnSignal(signal); });
}

CloseOnSignals::~CloseOnSignals()
{
    g_terminationRequested = false;
    HandleTerminationSignals(nullptr);
    Unregister();
}

void CloseOnSignals::OnSignal(int signal)
{
    if (!mainWindow_()) {
        // Still starting (the folder browser or a message may be up): no
        // step may finish half, so nothing is stored.
        std::_Exit(128 + signal);
    }
    closing_ = true;
    g_terminationRequested = true;
    if (openDialogs_.empty())
        CloseMainWindowLater();
    else
        EndOpenDialogs();
}

int CloseOnSignals::Enter(wxDialog* dialog)
{
    // A dialog that a cancelled one leads to is answered at once.
    if (closing_)
        return wxID_CANCEL;
    openDialogs_.push_back(dialog);
    return wxID_NONE;
}

void CloseOnSignals::Exit(wxDialog* dialog)
{
    openDialogs_.erase(std::remove(openDialogs_.begin(), openDialogs_.end(), dialog), openDialogs_.end());
    if (!closing_)
        return;
    // The inner dialog's loop has returned: the next one out is now the
    // innermost and can be ended.
    if (openDialogs_.empty())
        CloseMainWindowLater();
    else
        Cancel(openDialogs_.back());
}

void CloseOnSignals::EndOpenDialogs()
{
    // Only the innermost: ending an outer dialog's loop while an inner one
    // runs would quit the inner loop instead and leave the outer one running.
    // Each dialog's Exit ends the next one out.
    Cancel(openDialogs_.back());
}

void CloseOnSignals::CloseMainWindowLater()
{
    // Runs when the loop that is active now next idles: the main loop once
    // every dialog's caller has returned.
    wxTheApp->CallAfter([this] {
        if (!openDialogs_.empty())
            return;  // a dialog's Exit will ask again
        if (wxWindow* window = mainWindow_())
            window->Close();
    });
    wxWakeUpIdle();
}

bool TerminationRequested()
{
    return g_terminationRequested;
}

void HandleTerminationSignals(std::function<void(int)> onSignal)
{
    g_onSignal = std::move(onSignal);
    // GLib turns the signal into a main-loop event; nothing runs in the
    // signal handler itself.
    static SignalHandler handlers[] = {{SIGTERM, &g_onSignal}, {SIGINT, &g_onSignal}, {SIGHUP, &g_onSignal}};
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    for (SignalHandler& handler : handlers)
        g_unix_signal_add(handler.signal, Dispatch, &handler);
}
