// SPDX-License-Identifier: GPL-3.0-or-later
// The application object: start-up and the handling of termination signals.
#pragma once

#include <memory>
#include <string>

#include <wx/app.h>
#include <wx/weakref.h>

#include "platform/wx/close_signals.h"

class wxDocManager;
class CQuillboxDoc;
class CMainFrame;

class CQuillboxApp : public wxApp {
public:
    bool OnInit() override;
    int OnExit() override;
    void OnInitCmdLine(wxCmdLineParser& parser) override;
    bool OnCmdLineParsed(wxCmdLineParser& parser) override;
    /// An allocation failure while the window runs costs the one step, with
    /// a message; any other exception is left to the framework.
    bool OnExceptionInMainLoop() override;
    /// One during start-up ends the program with a message, not an abort.
    void OnUnhandledException() override;

private:
    /// The folder named on the command line, internal form; empty when none.
    std::string workingDirectoryForRun;
    wxDocManager* docManager = nullptr;
    /// Set once the main window is fully created; cleared when it is destroyed.
    wxWeakRef<wxWindow> mainWindow;
    std::unique_ptr<CloseOnSignals> closeOnSignals;
};

/// What the program and the window tests share: resources, document and
/// frame. Returns the shown frame, or nothing when it could not be created.
void InitProgramResources();
/// `workingDirectoryForRun` (internal form) replaces the stored working
/// directory for this run when it is not empty.
CMainFrame* CreateMainWindow(wxDocManager& docManager, const std::string& workingDirectoryForRun = {});

