// SPDX-License-Identifier: GPL-3.0-or-later
// Running the real windows inside a test: a private profile and working
// folder, a main window built as the program builds it, and event pumping.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <wx/testing.h>

#include "platform/shell.h"
#include "platform/wx/wx_host_ui.h"
#include "support/hang_limit.h"
#include "support/temp_dir.h"

class CMainFrame;
class wxDocManager;
class wxListBox;

/// Processes events for `ms` milliseconds (timers fire meanwhile).
void Pump(int ms);
/// Processes events until `done` holds, for `ms` milliseconds but at least kHangMs.
bool PumpUntil(const std::function<bool()>& done, int ms = 3000);

/// What a user does: choose a row of the issue list, a tab, a command.
void ChooseIssue(CMainFrame* frame, int row, wxEventType type = wxEVT_LISTBOX);
void ChooseTab(CMainFrame* frame, int index);
void SendCommand(CMainFrame* frame, int id);
/// The issue list of the contents page, while it has a window.
wxListBox* IssueListOf(CMainFrame* frame);

/// Writes a working directory of issues in the default catalogue's layout;
/// each issue gets a contents page with `entries` plain articles.
void WriteIssue(const TempDir& dir, const std::string& folder, const std::string& contentsPath, int entries);

/// A private profile whose current directory is its own folder, so that
/// settings and "SelFold.dat" of a test are its own.
class GuiEnvironment {
public:
    GuiEnvironment();
    ~GuiEnvironment();

    /// Stores "Journals" for `folder` (a host path).
    void StoreWorkingDirectory(const std::string& folder);
    void StoreValue(const std::string& name, const std::string& bytes);
    std::string Value(const std::string& name) const;

    /// Builds and shows the main window; close it with CloseMainWindow.
    CMainFrame* OpenMainWindow();
    void CloseMainWindow();

    CMainFrame* frame = nullptr;
    PrivateProfile profile;
    TempDir work;  ///< the journals
    std::vector<platform::shell::HostTarget> opened;

private:
    std::string savedCwd;
    wxDocManager* docManager = nullptr;
};

/// Answers the folder browser with a folder.
class ExpectFolder : public wxExpectModalBase<CFolderBrowser, ExpectFolder> {
public:
    explicit ExpectFolder(const std::string& hostPath) : path(wxString::FromUTF8(hostPath)) {}

protected:
    int OnInvoked(CFolderBrowser* dialog) const override
    {
        dialog->SetPath(path);
        return wxID_OK;
    }

private:
    wxString path;
};
