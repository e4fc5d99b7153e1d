// SPDX-License-Identifier: GPL-3.0-or-later
// The modeless dialog a text search shows while its worker reads the article
// files: the issue being read, the progress, and "Прервать".
#pragma once

#include <functional>
#include <string>

#include <wx/event.h>
#include <wx/timer.h>

#include "core/library/library.h"

class wxDialog;
class wxWindow;

/// Posted by the worker: the issue about to be read (GetInt), or -1 at the
/// end; GetExtraLong carries the search it belongs to.
wxDECLARE_EVENT(UM_SEARCH_PROGRESS, wxThreadEvent);
#define EVT_SEARCH_PROGRESS(func) wx__DECLARE_EVT0(UM_SEARCH_PROGRESS, wxThreadEventHandler(func))

/// The dialog object lives as long as the search page; its window exists
/// while one search is shown.
class CSearchProgressDlg : public wxEvtHandler {
public:
    /// `onCancel` sets the page's cancelState; `onEnded` hears of the final
    /// message of every search, whether a window shows it or not.
    CSearchProgressDlg(std::function<void()> onCancel, std::function<void(long search)> onEnded);
    ~CSearchProgressDlg() override;

    /// Creates and shows the window, centred, owned by `owner` and leaving it
    /// enabled, for search number `search` over `library`.
    void CreateWindow(wxWindow* owner, const Library& library, long search);
    /// Destroys the window; later messages of its search are dropped.
    void DestroyWindow();
    wxDialog* window() const;

    /// Any thread: posts UM_SEARCH_PROGRESS for search number `search`.
    void Post(int issue, long search);

    /// What the read-only field shows: the caption of the last issue read.
    std::string journalText = "Assa";

private:
    class Window;

    std::function<void()> onCancel_;
    std::function<void(long search)> onEnded_;
    Window* window_ = nullptr;
    const Library* library_ = nullptr;
    long search_ = 0;  ///< the search the window shows; 0 for none
    wxTimer closeTimer_;

    void Cancel();
    void OnProgress(wxThreadEvent& event);
    void OnCloseTimer(wxTimerEvent& event);

    wxDECLARE_EVENT_TABLE();
};
