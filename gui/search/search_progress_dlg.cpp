// SPDX-License-Identifier: GPL-3.0-or-later
// The progress dialog of a text search. Its window is loaded from the
// resources into a small dialog class that hands "Прервать", Esc and the
// close box to the dialog object; the worker's messages go to the object,
// which outlives every window and drops what belongs to none.
#include "gui/search/search_progress_dlg.h"

#include <algorithm>

#include <wx/dialog.h>
#include <wx/gauge.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "platform/wx/wx_text.h"
#include "gui/search/search_ids.h"

wxDEFINE_EVENT(UM_SEARCH_PROGRESS, wxThreadEvent);

namespace {

constexpr int kCloseTimerId = 1;
constexpr int kCloseDelayMs = 1000;

}  // namespace

/// The dialog window: Esc and the close box come as its Cancel button does.
class CSearchProgressDlg::Window : public wxDialog {
public:
    explicit Window(CSearchProgressDlg& owner) : owner_(owner) {}

private:
    void OnCancel(wxCommandEvent&) { owner_.Cancel(); }
    void OnClose(wxCloseEvent&) { owner_.Cancel(); }

    CSearchProgressDlg& owner_;

    wxDECLARE_EVENT_TABLE();
};

// ----------------------------------------------------------------------------
// event tables
// ----------------------------------------------------------------------------

wxBEGIN_EVENT_TABLE(CSearchProgressDlg::Window, wxDialog)
    EVT_BUTTON(wxID_CANCEL, CSearchProgressDlg::Window::OnCancel)
    EVT_CLOSE(CSearchProgressDlg::Window::OnClose)
wxEND_EVENT_TABLE()

wxBEGIN_EVENT_TABLE(CSearchProgressDlg, wxEvtHandler)
    EVT_SEARCH_PROGRESS(CSearchProgressDlg::OnProgress)
    EVT_TIMER(kCloseTimerId, CSearchProgressDlg::OnCloseTimer)
wxEND_EVENT_TABLE()

CSearchProgressDlg::CSearchProgressDlg(std::function<void()> onCancel, std::function<void(long search)> onEnded)
    : onCancel_(std::move(onCancel)), onEnded_(std::move(onEnded)), closeTimer_(this, kCloseTimerId)
{
}

CSearchProgressDlg::~CSearchProgressDlg()
{
    DestroyWindow();
}

void CSearchProgressDlg::CreateWindow(wxWindow* owner, const Library& library, long search)
{
    DestroyWindow();
    RegisterSearchResourceIds();
    auto* window = new Window(*this);
    if (!wxXmlResource::Get()->LoadDialog(window, owner, "IDD_SEARCH_PROGRESS")) {
        delete window;
        return;
    }
    window_ = window;
    library_ = &library;
    search_ = search;
    // The template's size is its client area.
    window_->SetClientSize(window_->ConvertDialogToPixels(wxSize(187, 74)));
    if (auto* text = dynamic_cast<wxTextCtrl*>(window_->FindWindow(ID_PROGRESS_JOURNAL)))
        text->ChangeValue(From1251(journalText));
    // The bar runs from 1 to the issue count + 1, one step per issue.
    if (auto* bar = dynamic_cast<wxGauge*>(window_->FindWindow(ID_PROGRESS_BAR))) {
        bar->SetRange(std::max(1, library.issueCount()));
        bar->SetValue(0);
    }
    window_->CentreOnScreen();
    window_->Show();
    window_->SetFocus();
}

wxDialog* CSearchProgressDlg::window() const
{
    return window_;
}

void CSearchProgressDlg::DestroyWindow()
{
    closeTimer_.Stop();
    search_ = 0;
    library_ = nullptr;
    if (!window_)
        return;
    Window* window = window_;
    window_ = nullptr;
    window->Destroy();
}

void CSearchProgressDlg::Post(int issue, long search)
{
    auto* event = new wxThreadEvent(UM_SEARCH_PROGRESS);
    event->SetInt(issue);
    event->SetExtraLong(search);
    QueueEvent(event);
}

void CSearchProgressDlg::Cancel()
{
    if (onCancel_)
        onCancel_();
    closeTimer_.StartOnce(kCloseDelayMs);
    if (window_)
        window_->Hide();
}

void CSearchProgressDlg::OnProgress(wxThreadEvent& event)
{
    const int issue = event.GetInt();
    if (issue < 0 && onEnded_)
        onEnded_(event.GetExtraLong());
    if (!window_ || event.GetExtraLong() != search_)
        return;
    if (issue < 0) {
        DestroyWindow();
        return;
    }
    if (auto* bar = dynamic_cast<wxGauge*>(window_->FindWindow(ID_PROGRESS_BAR)))
        bar->SetValue(std::min(bar->GetValue() + 1, bar->GetRange()));
    if (library_ && issue < library_->issueCount())
        journalText = library_->issues[static_cast<std::size_t>(issue)].caption;
    if (auto* text = dynamic_cast<wxTextCtrl*>(window_->FindWindow(ID_PROGRESS_JOURNAL)))
        text->ChangeValue(From1251(journalText));
}

void CSearchProgressDlg::OnCloseTimer(wxTimerEvent&)
{
    DestroyWindow();
}
