// SPDX-License-Identifier: GPL-3.0-or-later
// The two right-click flows of the article view: adding the issue entry
// under the pointer to a section, and removing the favourite under it. They
// change the session and say what the view and the frame are to show.
#pragma once

class wxWindow;
class CSectionDlg;
class ReaderSession;

/// What a flow leaves for the windows to do.
struct FavoritesFlowOutcome {
    bool passOn = true;            ///< the press goes on to the view's other handlers
    bool repaint = false;          ///< the view is repainted now
    bool refreshTick = false;      ///< the view gets its focus and a repaint shortly after
    bool sectionsChanged = false;  ///< the sections' list is built again
};

/// Issue mode. Asks for a section and adds the entry at (x, y); every change
/// is saved at once. The press is not passed on only on the duplicate path.
FavoritesFlowOutcome AddArticleAt(ReaderSession& session, wxWindow* parent, CSectionDlg& sectionDlg, int x, int y);

/// Favourites mode. Asks before removing the favourite at (x, y); every
/// change is saved at once, and a section left empty goes from the list.
FavoritesFlowOutcome RemoveFavoriteAt(ReaderSession& session, wxWindow* parent, int x, int y);
