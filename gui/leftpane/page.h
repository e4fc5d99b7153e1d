// SPDX-License-Identifier: GPL-3.0-or-later
// A page of the left pane: an object that outlives its window. The window is
// built from a resource when its tab is chosen and destroyed when the tab is
// left; the object keeps its fields and receives the window's events.
#pragma once

#include <wx/event.h>

class wxFrame;
class wxWindow;
class ReaderFrame;

class CPage : public wxEvtHandler {
public:
    CPage(ReaderFrame& reader, wxFrame* frame) : reader(reader), frame(frame) {}
    ~CPage() override;

    /// Builds the window from the page's resource and initialises it.
    wxWindow* CreateWindow(wxWindow* parent);
    /// Destroys the window; the object and its fields stay.
    void DestroyWindow();
    wxWindow* window() const { return window_; }

protected:
    /// Lays `control` over the page's client area, 10 pixels inside every
    /// edge, as the list pages keep their list.
    void FitInside(wxWindow* control) const;

    virtual const char* ResourceName() const = 0;
    /// Runs each time the window has been created.
    virtual void OnInitPage() {}
    /// Runs before the window is destroyed.
    virtual void OnDestroyPage() {}

    ReaderFrame& reader;  ///< the session and what only the frame can do
    wxFrame* frame;        ///< the main window, as the owner of dialogs and the status bar

private:
    wxWindow* window_ = nullptr;
};
