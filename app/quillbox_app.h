// The application object: start-up and the handling of termination signals.
#pragma once

#include <memory>

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
    /// An allocation failure while the window runs costs the one step, with
    /// a message; any other exception is left to the framework.
    bool OnExceptionInMainLoop() override;
    /// One during start-up ends the program with a message, not an abort.
    void OnUnhandledException() override;

private:
    wxDocManager* docManager = nullptr;
    /// Set once the main window is fully created; cleared when it is destroyed.
    wxWeakRef<wxWindow> mainWindow;
    std::unique_ptr<CloseOnSignals> closeOnSignals;
};

/// What the program and the window tests share: resources, document and
/// frame. Returns the shown frame, or nothing when it could not be created.
void InitProgramResources();
CMainFrame* CreateMainWindow(wxDocManager& docManager);

