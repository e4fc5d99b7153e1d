// SPDX-License-Identifier: GPL-3.0-or-later
// The article view's window: it keeps the scroll bar and the timer, supplies
// the real text measuring and hands every event to the core's rules.
#include "gui/view/quillbox_view.h"

#include <wx/dcbuffer.h>
#include <wx/scrolbar.h>
#include <wx/settings.h>

#include "gui/frame/pane_link.h"
#include "core/view/font_request.h"
#include "core/view/view_selection.h"
#include "gui/view/view_speech.h"
#include "gui/view/wx_fonts.h"
#include "gui/favorites/favorites_flows.h"
#include "gui/leftpane/reader_frame.h"
#include "core/session/reader_session.h"
#include "platform/wx/wx_text.h"

namespace {

constexpr int kScrollBarWidth = 13;
constexpr int kRefreshTimerId = 1;
constexpr int kRefreshDelayMs = 50;

wxColour ColourOf(ColorRef color)
{
    const Rgb rgb = RgbOf(color);
    return wxColour(rgb.red, rgb.green, rgb.blue);
}

wxRect ToWxRect(const PixelRect& r)
{
    return wxRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

NavigationKey KeyOf(int keyCode)
{
    switch (keyCode) {
    case WXK_UP: return NavigationKey::Up;
    case WXK_DOWN: return NavigationKey::Down;
    case WXK_PAGEUP: return NavigationKey::PageUp;
    case WXK_PAGEDOWN: return NavigationKey::PageDown;
    default: return NavigationKey::Other;
    }
}

ScrollAction ActionOf(wxEventType type)
{
    if (type == wxEVT_SCROLL_LINEUP)
        return ScrollAction::LineUp;
    if (type == wxEVT_SCROLL_LINEDOWN)
        return ScrollAction::LineDown;
    if (type == wxEVT_SCROLL_PAGEUP)
        return ScrollAction::PageUp;
    if (type == wxEVT_SCROLL_PAGEDOWN)
        return ScrollAction::PageDown;
    if (type == wxEVT_SCROLL_THUMBTRACK || type == wxEVT_SCROLL_THUMBRELEASE)
        return ScrollAction::Thumb;
    return ScrollAction::None;
}

}  // namespace

// ----------------------------------------------------------------------------
// event table
// ----------------------------------------------------------------------------

wxBEGIN_EVENT_TABLE(CQuillboxView, wxWindow)
    EVT_PAINT(CQuillboxView::OnPaint)
    EVT_SIZE(CQuillboxView::OnSize)
    EVT_COMMAND_SCROLL(ID_ARTICLE_SCROLL_BAR, CQuillboxView::OnScroll)
    EVT_KEY_DOWN(CQuillboxView::OnKeyDown)
    EVT_MOUSEWHEEL(CQuillboxView::OnMouseWheel)
    EVT_LEFT_DOWN(CQuillboxView::OnLeftDown)
    EVT_LEFT_DCLICK(CQuillboxView::OnLeftDoubleClick)
    EVT_RIGHT_DOWN(CQuillboxView::OnRightDown)
    EVT_TIMER(kRefreshTimerId, CQuillboxView::OnRefreshTick)
    EVT_SET_FOCUS(CQuillboxView::OnFocusChange)
    EVT_KILL_FOCUS(CQuillboxView::OnFocusChange)
wxEND_EVENT_TABLE()

CQuillboxView::CQuillboxView(ReaderFrame& reader, wxDocument* doc, const TextStyles& styles)
    : reader(reader), doc(doc), styles(styles), refreshTimer(this, kRefreshTimerId)
{
}

CQuillboxView::~CQuillboxView()
{
    WithdrawAccessibleList(this);
}

bool CQuillboxView::Create(wxWindow* parent, const wxSize& size)
{
    if (!wxWindow::Create(parent, wxID_ANY, wxDefaultPosition, size, wxBORDER_SUNKEN | wxWANTS_CHARS))
        return false;
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetBackgroundColour(*wxWHITE);
    const wxSize client = GetClientSize();
    scrollBar = new wxScrollBar(this, ID_ARTICLE_SCROLL_BAR, wxPoint(client.x - kScrollBarWidth, 0),
                                wxSize(kScrollBarWidth, client.y), wxSB_VERTICAL);
    shownScrollBar = ScrollBarSettings{0, 1, 1, 1};
    scrollBar->SetScrollbar(shownScrollBar.position, shownScrollBar.thumbSize, shownScrollBar.range,
                            shownScrollBar.pageSize);
    state.scrollPosition = 0;
    link = std::make_unique<CPaneLink>(doc, [this](long hint) { OnDocumentUpdate(hint); });
    ExposeAsAccessibleList(this, [this] { return AccessibleArticles(IsIssueMode(), CurrentIndex(), Data()); });
    return true;
}

bool CQuillboxView::IsIssueMode() const
{
    return reader.session().issueMode();
}

int CQuillboxView::CurrentIndex()
{
    // The core's rules read the mode from the view's state; it follows the
    // session's, which is the one that changes.
    state.issueMode = reader.session().issueMode();
    return reader.session().currentIndex();
}

ArticleData CQuillboxView::Data() const
{
    ReaderSession& session = reader.session();
    return ArticleData{&session.library().issues, &session.favorites()};
}

PixelRect CQuillboxView::ClientRect() const
{
    const wxSize size = GetClientSize();
    return PixelRect{0, 0, size.x, size.y};
}

void CQuillboxView::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    Draw(dc);
}

void CQuillboxView::Draw(wxDC& dc)
{
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);

    WxTextMeasurer measurer(dc, styles, widthCache);
    PaintResult result =
        PaintArticles(state, ProcessLastPaintedIndex(), CurrentIndex(), Data(), measurer, ClientRect());
    // Where an entry lies is known only once it is laid out.
    if (const std::optional<int> position = RevealedPosition()) {
        state.scrollPosition = *position;
        const bool thumbToZero = result.thumbToZero;
        result = PaintArticles(state, ProcessLastPaintedIndex(), CurrentIndex(), Data(), measurer, ClientRect());
        result.thumbToZero = thumbToZero;
    }
    if (result.rangeSet || result.thumbToZero)
        ShowScrollState(result.rangeSet);
    // Every change of the entries, the selection or the cursor ends in a paint.
    NotifyAccessibleList(this);

    PixelRect clip{};
    bool clipping = false;
    for (const DrawLine& line : result.lines) {
        if (!clipping || std::tie(clip.left, clip.top, clip.right, clip.bottom) !=
                             std::tie(line.clip.left, line.clip.top, line.clip.right, line.clip.bottom)) {
            dc.DestroyClippingRegion();
            dc.SetClippingRegion(ToWxRect(line.clip));
            clip = line.clip;
            clipping = true;
        }
        dc.SetFont(measurer.Font(line.style));
        dc.SetTextForeground(ColourOf(styles[line.style].color));
        dc.DrawText(From1251(line.text), line.x, line.y);
    }
    dc.DestroyClippingRegion();
    if (HasFocus())
        DrawFocusMark(dc);
}

std::optional<int> CQuillboxView::RevealedPosition()
{
    const std::optional<int> entry = revealEntry;
    const bool found = revealFound;
    if (!entry && !found)
        return std::nullopt;
    revealEntry.reset();
    revealFound = false;
    const EntryRange range = CurrentEntryRange(IsIssueMode(), CurrentIndex(), Data());
    const std::optional<int> shown = found ? MoveCursor(range, IsIssueMode(), std::nullopt, CursorMove::NextFound)
                                           : entry;
    if (!range.shown || !shown || *shown >= static_cast<int>(range.entries.size()))
        return std::nullopt;
    const HitRect& block = *range.entries[static_cast<std::size_t>(*shown)].hitRect;
    const int position =
        ScrollToShow(state.scrollPosition, block.top, block.bottom, GetClientSize().y, state.scrollMaximum);
    if (position == state.scrollPosition)
        return std::nullopt;
    return position;
}

// A dotted outline round the cursor's title, in the text colour, so that
// it stands out on any background the styles give; with no cursor it goes
// round the list, so that the keyboard's place is always seen.
void CQuillboxView::DrawFocusMark(wxDC& dc)
{
    const EntryRange range = CurrentEntryRange(IsIssueMode(), CurrentIndex(), Data());
    wxRect mark = ToWxRect(ScrollInvalidation(ClientRect())).Deflate(2);
    if (const std::optional<int> cursor = CursorOf(state, CurrentIndex(), range)) {
        const HitRect& block = *range.entries[static_cast<std::size_t>(*cursor)].hitRect;
        mark = ToWxRect(block).Inflate(3, 1);
    }
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT), 1, wxPENSTYLE_DOT));
    dc.DrawRectangle(mark);
}

// GTK answers every change of the scroll bar's range with a resize and so
// with another paint: the bar is told only what changed, or an idle view
// would paint forever.
void CQuillboxView::ShowScrollState(bool rangeRecomputed)
{
    ScrollBarSettings wanted = shownScrollBar;
    if (rangeRecomputed)
        wanted = ScrollBarFor(state, GetClientSize().y);
    wanted.position = state.scrollPosition;
    if (wanted == shownScrollBar)
        return;
    ScrollBarSettings samePosition = wanted;
    samePosition.position = shownScrollBar.position;
    if (samePosition == shownScrollBar)
        scrollBar->SetThumbPosition(wanted.position);
    else
        scrollBar->SetScrollbar(wanted.position, wanted.thumbSize, wanted.range, wanted.pageSize);
    shownScrollBar = wanted;
}

void CQuillboxView::OnSize(wxSizeEvent& event)
{
    event.Skip();
    if (!scrollBar)
        return;
    const wxSize client = GetClientSize();
    scrollBar->SetSize(client.x - kScrollBarWidth, 0, kScrollBarWidth, client.y);
    scrollBar->Refresh();
}

void CQuillboxView::Scroll(ScrollAction action, int thumbPosition)
{
    ApplyScroll(state, action, thumbPosition, GetClientSize().y);
    AfterScroll();
}

void CQuillboxView::AfterScroll()
{
    ShowScrollState(false);
    RefreshRect(ToWxRect(ScrollInvalidation(ClientRect())));
}

void CQuillboxView::OnScroll(wxScrollEvent& event)
{
    Scroll(ActionOf(event.GetEventType()), event.GetPosition());
}

void CQuillboxView::OnKeyDown(wxKeyEvent& event)
{
    if (HandleCursorKey(event))
        return;
    Scroll(ScrollActionForKey(KeyOf(event.GetKeyCode())), 0);
    event.Skip();
}

/// The keys of the cursor; false for a key left to scrolling and to the
/// pane order (Tab past the last article leaves the view as before).
bool CQuillboxView::HandleCursorKey(const wxKeyEvent& event)
{
    if (event.ControlDown() || event.AltDown())
        return false;
    const bool shift = event.ShiftDown();
    switch (event.GetKeyCode()) {
    case WXK_TAB:
        return MoveCursorBy(shift ? CursorMove::Previous : CursorMove::Next);
    case WXK_HOME:
    case WXK_NUMPAD_HOME:
        MoveCursorBy(CursorMove::First);
        return true;
    case WXK_END:
    case WXK_NUMPAD_END:
        MoveCursorBy(CursorMove::Last);
        return true;
    case WXK_F3:
        MoveCursorBy(shift ? CursorMove::PreviousFound : CursorMove::NextFound);
        return true;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        OpenCursor();
        return true;
    case WXK_MENU:
    case WXK_WINDOWS_MENU:
        ActOnCursor();
        return true;
    case WXK_F10:
        if (!shift)
            return false;
        ActOnCursor();
        return true;
    case WXK_DELETE:
    case WXK_NUMPAD_DELETE:
        if (IsIssueMode())
            return false;
        ActOnCursor();
        return true;
    default:
        return false;
    }
}

bool CQuillboxView::MoveCursorBy(CursorMove move)
{
    const EntryRange range = CurrentEntryRange(IsIssueMode(), CurrentIndex(), Data());
    const std::optional<int> to =
        MoveCursor(range, IsIssueMode(), CursorOf(state, CurrentIndex(), range), move);
    if (!to)
        return false;
    SelectEntry(*to);
    return true;
}

void CQuillboxView::SelectEntry(int position)
{
    revealEntry = position;
    ShowSelection(SelectPosition(state, CurrentIndex(), Data(), position));
}

void CQuillboxView::ShowSelection(const PressOutcome& outcome)
{
    if (outcome.selectedArticle)
        reader.session().SelectArticle(*outcome.selectedArticle);
    if (outcome.invalidate)
        Refresh();
}

void CQuillboxView::OpenCursor()
{
    const EntryRange range = CurrentEntryRange(IsIssueMode(), CurrentIndex(), Data());
    if (const std::optional<int> cursor = CursorOf(state, CurrentIndex(), range))
        OpenSelected(*cursor);
}

/// What a right click on the cursor's title does. A favourite removed hands
/// the cursor to the one that took its place, or to the new last one.
void CQuillboxView::ActOnCursor()
{
    // The flows find the entry by the rectangles of the last paint.
    Update();
    const int index = CurrentIndex();
    const EntryRange range = CurrentEntryRange(IsIssueMode(), index, Data());
    const std::optional<int> cursor = CursorOf(state, index, range);
    if (!cursor)
        return;
    const HitRect block = *range.entries[static_cast<std::size_t>(*cursor)].hitRect;
    if (block.bottom <= block.top || block.right <= block.left)
        return;
    const bool issueMode = IsIssueMode();
    OnRightButton(block.left, block.top);
    if (issueMode || CurrentIndex() != index)
        return;
    const EntryRange after = CurrentEntryRange(false, index, Data());
    const int count = static_cast<int>(after.entries.size());
    if (!after.shown || count == 0 || (*cursor < count && after.entries[*cursor].Mark() == kMarkSelected))
        return;
    SelectEntry(std::min(*cursor, count - 1));
}

void CQuillboxView::ShowFirstFound()
{
    revealFound = true;
    Refresh();
}

void CQuillboxView::OnFocusChange(wxFocusEvent& event)
{
    Refresh();
    event.Skip();
}

void CQuillboxView::OnMouseWheel(wxMouseEvent& event)
{
    if (event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL) {
        event.Skip();
        return;
    }
    const int steps = WheelLineSteps(event.GetWheelRotation(), event.GetWheelDelta(), pendingWheel);
    ApplyLineSteps(state, steps, GetClientSize().y);
    AfterScroll();
}

void CQuillboxView::OnLeftDown(wxMouseEvent& event)
{
    // Only the state flags count: the event type alone says "press" even for
    // the refresh tick's flag-less one.
    const bool anyButton = event.LeftIsDown() || event.RightIsDown() || event.MiddleIsDown() ||
                           event.ShiftDown() || event.ControlDown();
    ShowSelection(PressAt(state, CurrentIndex(), Data(), event.GetX(), event.GetY(), anyButton));
    event.Skip();
}

void CQuillboxView::OnLeftDoubleClick(wxMouseEvent& event)
{
    for (const OpenRequest& request : ArticlesToOpen(state, CurrentIndex(), Data(), event.GetX(), event.GetY()))
        reader.OpenArticle(request.link, request.relative);
    event.Skip();
}

void CQuillboxView::OnRightDown(wxMouseEvent& event)
{
    if (OnRightButton(event.GetX(), event.GetY()))
        event.Skip();
}

bool CQuillboxView::OnRightButton(int x, int y)
{
    const bool issueMode = IsIssueMode();
    const FavoritesFlowOutcome outcome = issueMode ? AddArticleAt(reader.session(), this, sectionDlg, x, y)
                                                   : RemoveFavoriteAt(reader.session(), this, x, y);
    if (outcome.sectionsChanged)
        reader.SectionsChanged();
    if (outcome.repaint)
        Refresh();
    if (outcome.refreshTick)
        ArmRefreshTick();
    return outcome.passOn;
}

void CQuillboxView::ArmRefreshTick()
{
    refreshTimer.Start(kRefreshDelayMs);
}

void CQuillboxView::OnRefreshTick(wxTimerEvent&)
{
    // One tick gives the focus and the repaint; there is nothing to repeat.
    refreshTimer.Stop();
    wxMouseEvent press(wxEVT_LEFT_DOWN);
    press.SetEventObject(this);
    GetEventHandler()->ProcessEvent(press);
    SetFocus();
    Refresh();
}

bool CQuillboxView::OpenSelected(int position)
{
    const EntryRange range = CurrentEntryRange(IsIssueMode(), CurrentIndex(), Data());
    if (!range.shown || position < 0 || position >= static_cast<int>(range.entries.size()))
        return false;
    reader.OpenArticle(*range.entries[position].link, IsIssueMode());
    return true;
}

void CQuillboxView::OnDocumentUpdate(long)
{
    Refresh();
}
