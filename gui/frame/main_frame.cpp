// SPDX-License-Identifier: GPL-3.0-or-later
// The main frame: construction, window creation with bars and panes, the
// record of its placement, and shutdown.
#include "gui/frame/main_frame.h"

#include <filesystem>
#include <system_error>

#include <wx/display.h>
#include <wx/menu.h>
#include <wx/splitter.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

#include "gui/frame/ids.h"
#include "gui/frame/quillbox_doc.h"
#include "gui/view/quillbox_view.h"
#include "gui/leftpane/left_view.h"
#include "platform/wx/desktop_setup.h"
#include "platform/wx/wx_host_ui.h"

namespace {

/// The process's current directory; empty (the relative name) when it is gone.
std::string CurrentHostFolder()
{
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    return error ? std::string() : here.string();
}

}  // namespace

wxDEFINE_EVENT(UM_LEFT_PANE_WIDTH, wxCommandEvent);

// ----------------------------------------------------------------------------
// event table
// ----------------------------------------------------------------------------

wxBEGIN_EVENT_TABLE(CMainFrame, wxFrame)
    // View menu and bars
    EVT_MENU(ID_CMD_TOGGLE_TOOLBAR, CMainFrame::OnToggleToolBar)
    EVT_UPDATE_UI(ID_CMD_TOGGLE_TOOLBAR, CMainFrame::OnUpdateToggleToolBar)
    EVT_MENU(ID_CMD_TOGGLE_STATUS_BAR, CMainFrame::OnToggleStatusBar)
    EVT_UPDATE_UI(ID_CMD_TOGGLE_STATUS_BAR, CMainFrame::OnUpdateToggleStatusBar)
    EVT_MENU(ID_CMD_FONTS, CMainFrame::OnFonts)
    // Library
    EVT_MENU(ID_CMD_READ, CMainFrame::OnRead)
    EVT_UPDATE_UI(ID_CMD_READ, CMainFrame::OnUpdateRead)
    EVT_MENU(ID_CMD_WORKING_DIRECTORY, CMainFrame::OnWorkingDirectory)
    EVT_UPDATE_UI(ID_CMD_WORKING_DIRECTORY, CMainFrame::OnUpdateWorkingDirectory)
    EVT_MENU(ID_CMD_JOURNALS, CMainFrame::OnJournals)
    // Help
    EVT_MENU(ID_CMD_README, CMainFrame::OnReadme)
    EVT_MENU(ID_CMD_HELP, CMainFrame::OnReadme)
    EVT_MENU(ID_CMD_ABOUT, CMainFrame::OnAbout)
    // Document and panes (keyboard only)
    EVT_MENU(ID_CMD_NEW, CMainFrame::OnNewDocument)
    EVT_MENU(ID_CMD_OPEN, CMainFrame::OnOpenDocument)
    EVT_MENU(ID_CMD_SAVE, CMainFrame::OnSaveDocument)
    EVT_MENU(ID_CMD_NEXT_PANE, CMainFrame::OnNextPane)
    EVT_MENU(ID_CMD_PREV_PANE, CMainFrame::OnNextPane)
    EVT_MENU(wxID_EXIT, CMainFrame::OnQuit)
    // Window
    EVT_TIMER(kBarsTimerId, CMainFrame::OnBarsTimer)
    EVT_MOVE(CMainFrame::OnMove)
    EVT_SIZE(CMainFrame::OnSize)
    EVT_CLOSE(CMainFrame::OnClose)
    EVT_IDLE(CMainFrame::OnIdle)
    EVT_COMMAND(wxID_ANY, UM_LEFT_PANE_WIDTH, CMainFrame::OnLeftPaneWidth)
wxEND_EVENT_TABLE()

// ----------------------------------------------------------------------------
// construction and creation
// ----------------------------------------------------------------------------

CMainFrame::CMainFrame(CQuillboxDoc* doc)
    : doc(doc), journalsDlg(catalogue, TheHostUi()), barsTimer(this, kBarsTimerId)
{
    styles = settings::LoadTextStyles();
    const BarVisibility bars = settings::LoadBars();
    showToolBar = bars.toolBar;
    showStatusBar = bars.statusBar;
    catalogue = LoadCatalogue();
    storedCatalogue = catalogue;
}

void CMainFrame::StoreCatalogueChanges()
{
    StoreChangedCatalogue(storedCatalogue, catalogue);
    storedCatalogue = catalogue;
}

bool CMainFrame::Create()
{
    if (!wxFrame::Create(nullptr, wxID_ANY, kWindowTitle, wxDefaultPosition, wxSize(900, 640)))
        return false;
    SetIcons(ProgramIcons());
    SetMenuBar(wxXmlResource::Get()->LoadMenuBar(this, "IDR_MAINFRAME"));
    if (!CreateBars())
        return false;
    ApplyStoredPlacement();
    FitIntoWorkArea();
    // Timer 1 starts only once the frame is on screen (OnIdle): building the
    // library may show dialogs, whose loops would run it against a frame
    // that is not laid out yet.
    if (!CreatePanes())
        return false;
    RecordClientRect();
    return true;
}

bool CMainFrame::CreatePanes()
{
    const double ratio = settings::LoadLeftShare();
    const wxSize client = GetClientSize();
    splitter = new wxSplitterWindow(this, ID_SPLITTER, wxDefaultPosition, client,
                                    wxSP_3DSASH | wxSP_NOBORDER | wxSP_LIVE_UPDATE);
    splitter->SetMinimumPaneSize(1);

    // The favourites are read before any pane exists; a damaged file is
    // reported here, once.
    session_ = std::make_unique<ReaderSession>(
        FavoritesFile(FavoritesFile::FindIn(CurrentHostFolder())),
        [this](const FavoritesReport& report, const std::string& hostPath) { TellFavorites(report, hostPath); });
    // The left pane comes first: creating it builds the library, while the
    // article view does not exist yet.
    auto* left = new CLeftView(*this, this);
    leftPane_ = left;
    if (!left->Create(splitter, wxSize(LeftPaneWidth(client.x, ratio), client.y))) {
        leftPane_ = nullptr;
        splitter->Destroy();
        return false;
    }
    auto* right = new CQuillboxView(*this, doc, styles);
    if (!right->Create(splitter, wxSize(RightPaneWidth(client.x, ratio), client.y))) {
        leftPane_ = nullptr;
        splitter->Destroy();
        return false;
    }
    articleView_ = right;
    // A size given at creation becomes a window's minimum; the panes must
    // not hold the sash back.
    left->SetMinSize(wxDefaultSize);
    right->SetMinSize(wxDefaultSize);
    splitter->SplitVertically(left, right, SashPositionFor(client.x, ratio));
    return true;
}

void CMainFrame::ApplyStoredPlacement()
{
    const auto placement = settings::LoadPlacement();
    if (!placement)
        return;
    requestedPlacement = placement;
    // The stored client area holds both bars, which are shown at this point.
    const int bars = GetToolBar()->GetSize().y + GetStatusBar()->GetSize().y;
    SetClientSize(placement->width, std::max(1, placement->height - bars));
    const int menuHeight = GetMenuBar() ? GetMenuBar()->GetSize().y : 0;
    Move(placement->x, placement->y - menuHeight);
}

// ----------------------------------------------------------------------------
// placement
// ----------------------------------------------------------------------------

void CMainFrame::OnShownOnScreen()
{
    CorrectPlacement();
    barsTimer.StartOnce(kBarsTimerDelayMs);
}

void CMainFrame::CorrectPlacement()
{
    // GTK knows the heights of the menu and the bars only once the window is
    // on screen: move and size it by what the first placement missed.
    RecordClientRect();
    if (!requestedPlacement)
        return;
    const Placement& want = *requestedPlacement;
    wxRect frame = GetRect();
    frame.x += want.x - clientRect.left;
    frame.y += want.y - clientRect.top;
    frame.width += want.width - clientRect.Width();
    frame.height += want.height - clientRect.Height();
    requestedPlacement.reset();
    SetSize(frame);
    FitIntoWorkArea();
}

void CMainFrame::FitIntoWorkArea()
{
    // A stored placement from a larger screen, or the default size on a
    // small or scaled one, would cut off the status bar and the view.
    const int display = wxDisplay::GetFromWindow(this);
    const wxRect area = wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display)).GetClientArea();
    const wxRect rect = GetRect();
    const FrameRect fitted = FitIntoArea({rect.GetLeft(), rect.GetTop(), rect.GetRight() + 1, rect.GetBottom() + 1},
                                         {area.GetLeft(), area.GetTop(), area.GetRight() + 1, area.GetBottom() + 1});
    const wxRect fittedRect(fitted.left, fitted.top, fitted.Width(), fitted.Height());
    if (fittedRect == rect)
        return;
    SetSize(fittedRect);
    fittedWindow = fittedRect;
}


void CMainFrame::RecordClientRect()
{
    // The client area counts the visible bars, as the stored placement does.
    const wxToolBar* toolBar = GetToolBar();
    const wxStatusBar* statusBar = GetStatusBar();
    const int toolBarHeight = toolBar && toolBar->IsShown() ? toolBar->GetSize().y : 0;
    const int statusBarHeight = statusBar && statusBar->IsShown() ? statusBar->GetSize().y : 0;
    // Until the window is on screen GTK cannot place the client area (and
    // says so on stderr): the frame's own position stands in for it, and the
    // placement made once the window is shown records the true one.
    const wxPoint origin = waitingToBeShown ? GetPosition() : ClientToScreen(wxPoint(0, 0));
    const wxSize size = GetClientSize();
    clientRect.left = origin.x;
    clientRect.top = origin.y - toolBarHeight;
    clientRect.right = clientRect.left + size.x;
    clientRect.bottom = clientRect.top + size.y + toolBarHeight + statusBarHeight;
}

void CMainFrame::OnMove(wxMoveEvent& event)
{
    event.Skip();
    if (leftPane_)
        leftPane_->LayoutPages();
    RecordClientRect();
}

void CMainFrame::OnSize(wxSizeEvent& event)
{
    // The framework lays out the bars and the splitter, whose panes follow.
    event.Skip();
    RecordClientRect();
}

void CMainFrame::StorePlacementAtExit()
{
    // A placement made smaller only to fit this screen stays stored as it
    // was, unless the user has moved or sized the window since.
    if (fittedWindow && settings::LoadPlacement() && GetRect() == *fittedWindow)
        return;
    // A window ended before it was on screen was never placed as stored:
    // what is stored stays.
    if (requestedPlacement)
        return;
    const int toolBarHeight = toolBarRect.Height() > 0 ? toolBarRect.Height() : GetToolBar()->GetSize().y;
    ReportWriteFailure(settings::StorePlacement(PlacementToStore(clientRect, showToolBar, toolBarHeight)));
}

void CMainFrame::OnLeftPaneWidth(wxCommandEvent& event)
{
    const auto width = static_cast<std::uint32_t>(event.GetInt());
    ReportWriteFailure(settings::StoreLeftShare(LeftShareFor(GetClientSize().x, width)));
}

void CMainFrame::ReportWriteFailure(WriteResult result)
{
    if (result == WriteResult::Failed)
        TheHostUi().ShowMessage(settings::WriteFailureText("k.t.1", result.error), "Vestrels",
                                platform::MessageIcon::None, platform::MessageButtons::Ok);
}

// ----------------------------------------------------------------------------
// shutdown
// ----------------------------------------------------------------------------

void CMainFrame::OnClose(wxCloseEvent& event)
{
    // The document is never modified: closing asks nothing. A text search
    // writes to the library and the search page, which go with the window.
    barsTimer.Stop();
    if (leftPane_)
        leftPane_->searchPage.CancelSearchAndWait();
    event.Skip();
}

CMainFrame::~CMainFrame()
{
    // The last notification may predate GTK's layout after a bar was hidden.
    RecordClientRect();
    // The panes go first, so the favourites are saved before the placement.
    if (splitter) {
        leftPane_ = nullptr;
        articleView_ = nullptr;
        splitter->Destroy();
        splitter = nullptr;
    }
    session_.reset();
    StorePlacementAtExit();
    delete doc;
}

void CMainFrame::TellFavorites(const FavoritesReport& report, const std::string& hostPath)
{
    if (report.withoutLock && !toldWithoutLock && GetStatusBar()) {
        toldWithoutLock = true;
        SetStatusText(
            wxString::FromUTF8("Избранное сохраняется без блокировки: её не поддерживает файловая система"), 0);
    }
    // What holds for the rest of the run is said once: the first change
    // tells it, later ones say nothing more.
    const bool forTheRun = report.trouble == FavoritesTrouble::Unreadable ||
                           report.trouble == FavoritesTrouble::ReadOnly ||
                           report.trouble == FavoritesTrouble::FolderReadOnly;
    const bool inPlace = report.trouble == FavoritesTrouble::RewrittenInPlace;
    if (report.trouble == FavoritesTrouble::None || (forTheRun && toldCannotSave) || (inPlace && toldInPlace))
        return;
    toldCannotSave = toldCannotSave || forTheRun;
    toldInPlace = toldInPlace || inPlace;
    // Favourites lost without a word are what these boxes prevent.
    const bool warning = (report.trouble == FavoritesTrouble::Damaged && !report.backup.empty()) || inPlace ||
                         report.trouble == FavoritesTrouble::TooLarge;
    TheHostUi().ShowMessage(FavoritesTroubleText(report, hostPath), "Vestrels",
                            warning ? platform::MessageIcon::Warning : platform::MessageIcon::Error,
                            platform::MessageButtons::Ok);
}
