// SPDX-License-Identifier: GPL-3.0-or-later
// The right pane: draws the current issue's entries, or a favourites
// section, by itself, scrolls them and turns clicks and keys into selection
// and opening. The layout and the rules live in the display-free core; this
// window measures, draws and forwards events.
#pragma once

#include <memory>
#include <optional>

#include <wx/timer.h>
#include <wx/window.h>

#include "core/view/article_layout.h"
#include "core/view/article_view_state.h"
#include "core/view/view_scroll.h"
#include "core/view/view_selection.h"
#include "gui/view/wx_fonts.h"
#include "gui/favorites/section_dlg.h"

class wxDC;
class wxKeyEvent;
class wxScrollBar;
class wxScrollEvent;
class wxDocument;
class CPaneLink;
class ReaderFrame;

enum ArticleViewId { ID_ARTICLE_SCROLL_BAR = 1124 };

class CQuillboxView : public wxWindow {
public:
    /// Shows what `reader`'s session makes current, in `styles`; the view
    /// follows `doc`'s update hints.
    CQuillboxView(ReaderFrame& reader, wxDocument* doc, const TextStyles& styles);
    ~CQuillboxView() override;

    bool Create(wxWindow* parent, const wxSize& size);

    /// Opens the entry at `position` of what is shown ("Читать"); false when
    /// there is no such entry.
    bool OpenSelected(int position);

    /// The session's mode: issues, or a favourites section.
    bool IsIssueMode() const;

    /// Repaints and focuses the view shortly after a favourites action.
    void ArmRefreshTick();

    /// A search result was chosen: the next paint scrolls its first found
    /// article into sight.
    void ShowFirstFound();

    const ArticleViewState& viewState() const { return state; }

    /// One paint of the whole client area onto `dc`.
    void Draw(wxDC& dc);

protected:
    /// Right click: the favourites actions. False when the press is not to
    /// be passed on (the end of the duplicate-article path).
    virtual bool OnRightButton(int x, int y);

private:
    ReaderFrame& reader;
    wxDocument* doc;
    const TextStyles& styles;
    std::unique_ptr<CPaneLink> link;
    ArticleViewState state;
    wxScrollBar* scrollBar = nullptr;
    wxTimer refreshTimer;
    TextWidthCache widthCache;
    ScrollBarSettings shownScrollBar;  ///< what the scroll bar was last told
    int pendingWheel = 0;              ///< a fine-grained wheel's turn not yet a whole line step
    CSectionDlg sectionDlg;            ///< one for the view's life: the last name is offered again
    std::optional<int> revealEntry;    ///< scrolled into sight by the next paint
    bool revealFound = false;          ///< the first found article is, by the next paint

    int CurrentIndex();
    ArticleData Data() const;
    PixelRect ClientRect() const;
    void Scroll(ScrollAction action, int thumbPosition);
    void ShowScrollState(bool rangeRecomputed);
    void AfterScroll();
    void OnDocumentUpdate(long hint);

    /// Every change of the selected entry, by click or key, ends here.
    void ShowSelection(const PressOutcome& outcome);
    void SelectEntry(int position);
    bool HandleCursorKey(const wxKeyEvent& event);
    bool MoveCursorBy(CursorMove move);
    void OpenCursor();
    void ActOnCursor();
    std::optional<int> RevealedPosition();
    void DrawFocusMark(wxDC& dc);

    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnScroll(wxScrollEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnMouseWheel(wxMouseEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftDoubleClick(wxMouseEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnRefreshTick(wxTimerEvent& event);
    void OnFocusChange(wxFocusEvent& event);

    wxDECLARE_EVENT_TABLE();
};
