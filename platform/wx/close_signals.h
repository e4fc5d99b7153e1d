// SPDX-License-Identifier: GPL-3.0-or-later
// Termination signals handled inside the desktop's main loop, so that a
// logout or a `kill` ends the program as its close box would, even while a
// modal dialog is up.
#pragma once

#include <functional>
#include <vector>

#include <wx/modalhook.h>

class wxDialog;
class wxWindow;

/// Closes the main window on SIGTERM, SIGINT and SIGHUP. Dialogs that are up
/// are ended first, as Cancel would end them, and the window is closed only
/// once control is back in the main loop: closing it inside a dialog's own
/// loop would destroy objects the dialog's caller still uses. Until the main
/// window exists the program ends at once and stores nothing.
class CloseOnSignals : public wxModalDialogHook {
public:
    /// `mainWindow` gives the main window once it is fully created, nothing
    /// before.
    explicit CloseOnSignals(std::function<wxWindow*()> mainWindow);
    ~CloseOnSignals() override;

    /// What a signal does; called from the main loop.
    void OnSignal(int signal);

protected:
    int Enter(wxDialog* dialog) override;
    void Exit(wxDialog* dialog) override;

private:
    std::function<wxWindow*()> mainWindow_;
    std::vector<wxDialog*> openDialogs_;
    bool closing_ = false;

    void EndOpenDialogs();
    void CloseMainWindowLater();
};

/// Whether a termination signal has come and the main window is closing.
bool TerminationRequested();

/// Calls `onSignal(signal)` from the main loop on SIGTERM, SIGINT and SIGHUP.
void HandleTerminationSignals(std::function<void(int)> onSignal);
