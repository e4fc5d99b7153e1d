// SPDX-License-Identifier: GPL-3.0-or-later
// The help pop-up and the provider that shows it.
#include "gui/config/help_popup.h"

#include <algorithm>

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/textwrapper.h>

namespace {

constexpr int kMargin = 10;
// The pop-up's top centre stands this far left of the point of the request.
constexpr int kLeftOfHelpPoint = 100;

CHelpPopup* shownPopup = nullptr;

// A click anywhere withdraws the pop-up on screen and goes on to its target.
// The framework's transient pop-up grabs the pointer and the keyboard for
// this, and the keys then reach no window at all.
class ClickWithdrawsPopup : public wxEventFilter {
public:
    int FilterEvent(wxEvent& event) override
    {
        const wxEventType type = event.GetEventType();
        if (shownPopup && (type == wxEVT_LEFT_DOWN || type == wxEVT_RIGHT_DOWN || type == wxEVT_MIDDLE_DOWN))
            shownPopup->Withdraw();
        return Event_Skip;
    }
};

ClickWithdrawsPopup clickFilter;

wxFont PopupFont()
{
    return wxFont(wxFontInfo(10).Family(wxFONTFAMILY_SWISS).Bold());
}

wxColour TextColour()
{
    return wxColour(0, 0, 192);
}

wxColour BackColour()
{
    return wxColour(255, 255, 192);
}

/// The text's own lines, each broken at blanks where it is wider than
/// `width` in the window's font.
class LineCollector : public wxTextWrapper {
public:
    wxArrayString lines;

protected:
    void OnOutputLine(const wxString& line) override { lines.Add(line); }
};

wxRect DisplayAreaAt(const wxPoint& point)
{
    const int index = wxDisplay::GetFromPoint(point);
    return wxDisplay(index == wxNOT_FOUND ? 0u : static_cast<unsigned>(index)).GetClientArea();
}

}  // namespace

// ----------------------------------------------------------------------------
// event table
// ----------------------------------------------------------------------------

wxBEGIN_EVENT_TABLE(CHelpPopup, wxPopupWindow)
    EVT_PAINT(CHelpPopup::OnPaint)
    EVT_LEFT_DOWN(CHelpPopup::OnMouseDown)
    EVT_RIGHT_DOWN(CHelpPopup::OnMouseDown)
wxEND_EVENT_TABLE()

CHelpPopup::CHelpPopup(wxWindow* parent, const wxString& text, const wxPoint& helpPoint)
    : wxPopupWindow(parent, wxBORDER_SIMPLE), text_(text)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetFont(PopupFont());
    // A line wider than three fifths of the screen is broken at blanks.
    const wxRect area = DisplayAreaAt(helpPoint);
    LineCollector collector;
    collector.Wrap(this, text_, area.width * 3 / 5);
    lines_ = collector.lines;
    int width = 0;
    int height = 0;
    for (const wxString& line : lines_) {
        const wxSize extent = GetTextExtent(line.empty() ? wxString(" ") : line);
        width = std::max(width, extent.x);
        height += extent.y;
    }
    SetClientSize(width + 2 * kMargin, height + 2 * kMargin);

    const wxSize size = GetSize();
    wxPoint origin(helpPoint.x - kLeftOfHelpPoint - size.x / 2, helpPoint.y);
    // A pop-up by the edge of the screen would be cut off: it moves inside.
    origin.x = std::max(area.GetLeft(), std::min(origin.x, area.GetRight() + 1 - size.x));
    origin.y = std::max(area.GetTop(), std::min(origin.y, area.GetBottom() + 1 - size.y));
    Move(origin);

    if (shownPopup)
        shownPopup->Withdraw();
    shownPopup = this;
    wxEvtHandler::AddFilter(&clickFilter);
}

CHelpPopup::~CHelpPopup()
{
    if (shownPopup == this) {
        shownPopup = nullptr;
        wxEvtHandler::RemoveFilter(&clickFilter);
    }
}

void CHelpPopup::Withdraw()
{
    if (withdrawn_)
        return;
    withdrawn_ = true;
    Hide();
    if (shownPopup == this) {
        shownPopup = nullptr;
        wxEvtHandler::RemoveFilter(&clickFilter);
    }
    // The pop-up serves one request; it may still be inside its own handler.
    wxTheApp->ScheduleForDestruction(this);
}

CHelpPopup* CHelpPopup::Shown()
{
    return shownPopup;
}

void CHelpPopup::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    dc.SetBackground(wxBrush(BackColour()));
    dc.Clear();
    dc.SetFont(PopupFont());
    dc.SetTextForeground(TextColour());
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    int y = kMargin;
    for (const wxString& line : lines_) {
        const wxSize extent = dc.GetTextExtent(line.empty() ? wxString(" ") : line);
        dc.DrawText(line, kMargin, y);
        y += extent.y;
    }
}

void CHelpPopup::OnMouseDown(wxMouseEvent&)
{
    Withdraw();
}

// ----------------------------------------------------------------------------
// provider
// ----------------------------------------------------------------------------

bool CPopupHelpProvider::ShowHelpAtPoint(wxWindowBase* window, const wxPoint& point, wxHelpEvent::Origin)
{
    if (CHelpPopup* old = CHelpPopup::Shown())
        old->Withdraw();
    auto* target = dynamic_cast<wxWindow*>(window);
    const wxString text = target ? GetHelp(target) : wxString();
    if (!text.empty()) {
        const wxPoint at = point == wxDefaultPosition ? wxGetMousePosition() : point;
        auto* popup = new CHelpPopup(wxGetTopLevelParent(target), text, at);
        popup->Show();
    }
    // A control without a text (a label) gets no pop-up; the request is
    // answered all the same and goes nowhere else.
    return true;
}

bool CPopupHelpProvider::ShowHelp(wxWindowBase* window)
{
    return ShowHelpAtPoint(window, m_helptextAtPoint, m_helptextOrigin);
}

void InstallHelpPopups()
{
    if (dynamic_cast<CPopupHelpProvider*>(wxHelpProvider::Get()))
        return;
    delete wxHelpProvider::Set(new CPopupHelpProvider);
}

void SendHelpRequestOnF1(wxKeyEvent& event)
{
    if (event.GetKeyCode() != WXK_F1 || event.HasAnyModifiers()) {
        event.Skip();
        return;
    }
    wxWindow* focus = wxWindow::FindFocus();
    if (!focus)
        focus = dynamic_cast<wxWindow*>(event.GetEventObject());
    if (!focus)
        return;
    wxHelpEvent help(wxEVT_HELP, focus->GetId(), wxGetMousePosition(), wxHelpEvent::Origin_Keyboard);
    help.SetEventObject(focus);
    focus->GetEventHandler()->ProcessEvent(help);
}
