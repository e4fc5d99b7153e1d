// SPDX-License-Identifier: GPL-3.0-or-later
// The main frame's toolbar and status bar: creation, the stored visibility
// applied after start, the toggles and the keyboard indicators.
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include "gui/frame/ids.h"
#include "gui/frame/main_frame.h"
#include "platform/wx/spoken_names.h"

namespace {

constexpr int kStatusFields = 4;
// The message pane takes what is left; the indicators have room for "SCRL".
constexpr int kStatusWidths[kStatusFields] = {-1, 48, 48, 48};

FrameRect ScreenRectOf(const wxWindow* window)
{
    const wxRect r = window->GetScreenRect();
    return {r.x, r.y, r.x + r.width, r.y + r.height};
}

}  // namespace

bool CMainFrame::CreateBars()
{
    wxToolBar* toolBar = wxXmlResource::Get()->LoadToolBar(this, "ID_TOOLBAR");
    if (!toolBar)
        return false;
    if (GetToolBar() != toolBar)
        SetToolBar(toolBar);
    NameToolButtons(toolBar);
    wxStatusBar* statusBar = CreateStatusBar(kStatusFields, wxSTB_DEFAULT_STYLE, ID_STATUS_BAR);
    if (!statusBar)
        return false;
    statusBar->SetStatusWidths(kStatusFields, kStatusWidths);
    SetStatusText(wxString::FromUTF8("Готово"), 0);
    UpdateIndicators();
    return true;
}

wxStatusBar* CMainFrame::OnCreateStatusBar(int number, long style, wxWindowID id, const wxString& name)
{
    auto* statusBar = new SpokenStatusBar(this, id, style, name);
    statusBar->SetFieldsCount(number);
    return statusBar;
}

void CMainFrame::OnBarsTimer(wxTimerEvent&)
{
    barsTimer.Stop();
    wxToolBar* toolBar = GetToolBar();
    toolBarRect = ScreenRectOf(toolBar);
    wxRect frame = GetRect();
    // A hidden toolbar shortens the frame by its height, so the panes keep
    // the size they were created with.
    if (!showToolBar) {
        toolBar->Hide();
        frame.height -= toolBarRect.Height();
    }
    if (!showStatusBar)
        GetStatusBar()->Hide();
    SetSize(frame);
    SendSizeEvent();
}

void CMainFrame::ToggleBar(wxWindow* bar, bool& shown)
{
    shown = !shown;
    settings::StoreBars({showToolBar, showStatusBar});
    bar->Show(shown);
    // Both bars move the bottom edge by the toolbar's height.
    wxRect frame = GetRect();
    frame.height += shown ? toolBarRect.Height() : -toolBarRect.Height();
    SetSize(frame);
    SendSizeEvent();
}

void CMainFrame::OnToggleToolBar(wxCommandEvent&)
{
    ToggleBar(GetToolBar(), showToolBar);
}

void CMainFrame::OnUpdateToggleToolBar(wxUpdateUIEvent& event)
{
    event.Check(GetToolBar()->IsShown());
}

void CMainFrame::OnToggleStatusBar(wxCommandEvent&)
{
    ToggleBar(GetStatusBar(), showStatusBar);
}

void CMainFrame::OnUpdateToggleStatusBar(wxUpdateUIEvent& event)
{
    event.Check(GetStatusBar()->IsShown());
}

void CMainFrame::UpdateIndicators()
{
    wxStatusBar* statusBar = GetStatusBar();
    if (!statusBar)
        return;
    const std::pair<wxKeyCode, const char*> indicators[] = {
        {WXK_CAPITAL, "CAP"}, {WXK_NUMLOCK, "NUM"}, {WXK_SCROLL, "SCRL"}};
    for (int i = 0; i < 3; ++i) {
        const wxString text = wxGetKeyState(indicators[i].first) ? indicators[i].second : "";
        if (statusBar->GetStatusText(i + 1) != text)
            statusBar->SetStatusText(text, i + 1);
    }
}

void CMainFrame::OnIdle(wxIdleEvent& event)
{
    // The first idle time with the frame on screen: its layout is final.
    if (waitingToBeShown && IsShownOnScreen()) {
        waitingToBeShown = false;
        OnShownOnScreen();
    }
    UpdateIndicators();
    event.Skip();
}
