// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop as the core sees it, on wxWidgets: message boxes and the folder
// browser go through the framework's modal dialogs (so tests answer them with
// wx/testing.h), targets go to the browser or the associated program, long
// work shows a progress dialog with a cancel button.
#pragma once

#include <functional>
#include <memory>

#include <wx/dirdlg.h>

#include "platform/host_ui.h"
#include "platform/shell.h"

class wxWindow;
class wxProgressDialog;

class WxHostUi : public platform::HostUi {
public:
    platform::MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                        platform::MessageIcon icon, platform::MessageButtons buttons) override;
    std::optional<std::string> BrowseForFolder(const std::string& title) override;
    std::optional<std::string> BrowseForFolderAt(const std::string& title, const std::string& startFolder) override;
    bool SetClipboardText(const std::string& text) override;
    void OpenTarget(const platform::shell::Target& target) override;
    bool ShowProgress(const platform::Progress& progress) override;
    void EndProgress() override;
    ~WxHostUi() override;

    /// The progress dialog while it is up (tests).
    wxProgressDialog* ProgressDialogForTesting() const { return progress_.get(); }

    /// Receives every target instead of the desktop (tests).
    using Opener = std::function<void(const platform::shell::HostTarget&)>;
    void SetOpenerForTesting(Opener opener) { opener_ = std::move(opener); }

private:
    Opener opener_;
    std::unique_ptr<wxProgressDialog> progress_;
};

/// The program's desktop; one for the process.
WxHostUi& TheHostUi();

/// The folder browser. GTK reports the chosen folder only after a real
/// accept, so a folder set while the dialog is up (by a test's answer) counts
/// as chosen too.
class CFolderBrowser : public wxDirDialog {
public:
    /// Opens at `startFolder` (a host path) when it is a folder, otherwise
    /// at the home folder.
    CFolderBrowser(wxWindow* parent, const wxString& title, const wxString& startFolder = wxString());
    void SetPath(const wxString& path) override;
    wxString GetPath() const override;

private:
    wxString assignedPath_;
};
