// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: menu, toolbar, status bar and the splitter with the two
// panes. It owns the reader's session and the settings that live for the
// whole run; the panes ask it for what only it can do (ReaderFrame).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include <wx/frame.h>
#include <wx/timer.h>

#include "core/catalogue/journal_catalogue.h"
#include "core/settings/placement.h"
#include "core/settings/settings_store.h"
#include "gui/config/font_target_dlg.h"
#include "gui/config/journals_dlg.h"
#include "core/library/discovery.h"
#include "gui/leftpane/reader_frame.h"
#include "core/session/reader_session.h"

class wxSplitterWindow;
class CLeftView;
class CQuillboxView;
class CQuillboxDoc;

class CMainFrame : public wxFrame, public ReaderFrame {
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

    // ReaderFrame: what the panes and pages ask of the frame.
    ReaderSession& session() override { return *session_; }
    void RepaintArticles(bool focus) override;
    void ShowFirstFound(bool focus) override;
    void SectionsChanged() override;
    void OpenArticle(std::string link, bool relative) override;
    void BuildLibrary() override;

    /// The panes, for the frame's own commands and for tests; nullptr
    /// before they are created and once they are gone.
    CLeftView* leftPane() const { return leftPane_; }
    CQuillboxView* articleView() const { return articleView_; }
    const JournalCatalogue& journalCatalogue() const { return catalogue; }
    const TextStyles& textStyles() const { return styles; }

    /// The working directory given on the command line (internal form), used
    /// for this run in place of the stored one; empty when none was given.
    void UseWorkingDirectoryForRun(std::string folder) { workingDirectoryForRun = std::move(folder); }

    // Bar and placement state, read by tests too.
    bool showToolBar = true;
    bool showStatusBar = true;
    FrameRect clientRect;
    FrameRect toolBarRect;

private:
    CQuillboxDoc* doc;
    std::unique_ptr<ReaderSession> session_;
    CLeftView* leftPane_ = nullptr;
    CQuillboxView* articleView_ = nullptr;
    JournalCatalogue catalogue;
    /// The catalogue as this copy last read or stored it: a dialog's OK
    /// stores only what changed since.
    JournalCatalogue storedCatalogue;
    TextStyles styles{};
    CJournalsDlg journalsDlg;
    CFontTargetDlg fontTargetDlg;
    std::string workingDirectoryForRun;  ///< see UseWorkingDirectoryForRun
    WorkingDirectoryRequests directoryRequests;  ///< counted over the program's run
    bool toldCannotSave = false;   ///< the favourites cannot take changes: said once per run
    bool toldInPlace = false;      ///< the favourites are rewritten in place: said once per run
    bool toldWithoutLock = false;  ///< favourites saved without a lock: noted once per run
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
    void TellFavorites(const FavoritesReport& report, const std::string& hostPath);
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
