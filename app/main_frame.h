// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: menu, toolbar, status bar and the splitter with the two
// panes. It owns the settings that live for the whole run and is the way
// every window reaches the panes.
#pragma once

#include <optional>
#include <semaphore>

#include <wx/frame.h>
#include <wx/timer.h>

#include "app/journal_catalogue.h"
#include "app/placement.h"
#include "app/settings_store.h"
#include "config/font_target_dlg.h"
#include "config/journals_dlg.h"
#include "library/discovery.h"

class wxSplitterWindow;
class CLeftView;
class CQuillboxView;
class CQuillboxDoc;

/// Sent synchronously by the left pane on every size change; the int is
/// the new width.
wxDECLARE_EVENT(UM_LEFT_PANE_WIDTH, wxCommandEvent);
/// Sent by the article view after a favourites change that empties a section.
wxDECLARE_EVENT(UM_FAVORITES_CHANGED, wxCommandEvent);

class CMainFrame : public wxFrame {
public:
    /// Loads the styles, the bar visibility and the catalogue; no window yet.
    explicit CMainFrame(CQuillboxDoc* doc);
    ~CMainFrame() override;

    /// Creates the window, its bars and the two panes.
    bool Create();

    /// Throws the library away and has the contents page build it again.
    void RebuildLibrary();

    /// Stores what the catalogue dialog changed (see StoreChangedCatalogue).
    void StoreCatalogueChanges();

    /// Sets the caption from the document title.
    void UpdateCaption();

    CQuillboxDoc* document() const { return doc; }

    // Reached by the panes and pages.
    CLeftView* leftPane = nullptr;
    CQuillboxView* articleView = nullptr;
    JournalCatalogue catalogue;
    WorkingDirectoryRequests directoryRequests;  ///< counted over the program's run
    /// The catalogue as this copy last read or stored it: a dialog's OK
    /// stores only what changed since.
    JournalCatalogue storedCatalogue;
    TextStyles styles{};
    CJournalsDlg journalsDlg;
    CFontTargetDlg fontTargetDlg;
    bool listItemChosen = true;
    int selectedArticle = 0;
    /// The working directory given on the command line (internal form), used
    /// for this run in place of the stored one; empty when none was given.
    std::string workingDirectoryForRun;
    /// Taken by the text search's worker around its cancel check and around
    /// publishing each issue's result (initial and maximum count 1).
    std::binary_semaphore searchLock{1};

    // Bar and placement state, read by tests too.
    bool showToolBar = true;
    bool showStatusBar = true;
    FrameRect clientRect;
    FrameRect toolBarRect;

private:
    CQuillboxDoc* doc;
    wxSplitterWindow* splitter = nullptr;
    wxTimer barsTimer;
    std::optional<Placement> requestedPlacement;
    std::optional<wxRect> fittedWindow;  ///< set when the start placement was fitted to the screen
    bool waitingToBeShown = true;

    bool CreateBars();
    wxStatusBar* OnCreateStatusBar(int number, long style, wxWindowID id, const wxString& name) override;
    bool CreatePanes();
    void ApplyStoredPlacement();
    void OnShownOnScreen();
    void CorrectPlacement();
    void FitIntoWorkArea();
    void StorePlacementAtExit();
    void RecordClientRect();
    void UpdateIndicators();
    void ToggleBar(wxWindow* bar, bool& shown);
    void ReportWriteFailure(WriteResult result);
    void MoveFocusToOtherPane();

    // Layout and bars
    void OnBarsTimer(wxTimerEvent& event);
    void OnMove(wxMoveEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnIdle(wxIdleEvent& event);
    void OnToggleToolBar(wxCommandEvent& event);
    void OnUpdateToggleToolBar(wxUpdateUIEvent& event);
    void OnToggleStatusBar(wxCommandEvent& event);
    void OnUpdateToggleStatusBar(wxUpdateUIEvent& event);
    void OnLeftPaneWidth(wxCommandEvent& event);
    void OnFavoritesChanged(wxCommandEvent& event);

    // Commands
    void OnRead(wxCommandEvent& event);
    void OnUpdateRead(wxUpdateUIEvent& event);
    void OnWorkingDirectory(wxCommandEvent& event);
    void OnUpdateWorkingDirectory(wxUpdateUIEvent& event);
    void OnFonts(wxCommandEvent& event);
    void OnJournals(wxCommandEvent& event);
    void OnAbout(wxCommandEvent& event);
    void OnReadme(wxCommandEvent& event);
    void OnNewDocument(wxCommandEvent& event);
    void OnOpenDocument(wxCommandEvent& event);
    void OnSaveDocument(wxCommandEvent& event);
    void OnNextPane(wxCommandEvent& event);
    void OnQuit(wxCommandEvent& event);

    wxDECLARE_EVENT_TABLE();
};

/// The main frame that owns a window, found through its top-level parent.
CMainFrame* MainFrameOf(wxWindow* window);
