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

