// The application object: start-up and the handling of termination signals.
#pragma once

#include <wx/app.h>

class wxDocManager;
class CQuillboxDoc;
class CMainFrame;

class CQuillboxApp : public wxApp {
public:
    bool OnInit() override;
    int OnExit() override;

private:
    wxDocManager* docManager = nullptr;
};

/// What the program and the window tests share: resources, document and
/// frame. Returns the shown frame, or nothing when it could not be created.
void InitProgramResources();
CMainFrame* CreateMainWindow(wxDocManager& docManager);

/// A termination signal closes the main window as its close box does.
void InstallCloseOnSignals();
