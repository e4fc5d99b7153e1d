// SPDX-License-Identifier: GPL-3.0-or-later
// What the core asks of the desktop: message boxes, the folder browser, the
// clipboard, the program that opens a target and progress of long work. The GUI supplies the real
// desktop; tests and the command-line tool supply their own.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/shell.h"

namespace platform {

enum class MessageIcon { None, Error, Warning, Information, Question };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

/// One step of long work the user may stop; texts are 1251.
struct Progress {
    std::string caption;
    std::string text;
    std::size_t done = 0;
    std::size_t total = 0;
};

class HostUi {
public:
    virtual ~HostUi() = default;

    /// Texts are 1251.
    virtual MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                                      MessageButtons buttons) = 0;

    /// The folder browser; the chosen folder in the internal form, nothing
    /// when cancelled.
    virtual std::optional<std::string> BrowseForFolder(const std::string& title) = 0;

    /// The folder browser opened at `startFolder` (internal form; empty:
    /// wherever the host starts). A host without a place to start ignores it.
    virtual std::optional<std::string> BrowseForFolderAt(const std::string& title, const std::string& startFolder)
    {
        (void)startFolder;
        return BrowseForFolder(title);
    }

    /// Plain text onto the clipboard; false when the clipboard refused it.
    virtual bool SetClipboardText(const std::string& text) = 0;

    /// Hands a target (an address or an internal file path, as its kind
    /// says) to the program the desktop associates with it.
    virtual void OpenTarget(const shell::Target& target) = 0;

    /// Shows how far long work has come; false once the user asked to stop
    /// it. A host without a display lets the work run to its end.
    virtual bool ShowProgress(const Progress& progress)
    {
        (void)progress;
        return true;
    }

    /// The work ShowProgress spoke of has ended, however it ended.
    virtual void EndProgress() {}

    /// Whether messages are to be worded in English (the command-line tool)
    /// rather than in the window's Russian.
    virtual bool SpeaksEnglish() const { return false; }
};

}  // namespace platform
