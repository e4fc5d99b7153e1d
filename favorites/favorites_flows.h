// SPDX-License-Identifier: GPL-3.0-or-later
// The two right-click flows of the article view: adding the issue entry
// under the pointer to a section, and removing the favourite under it.
#pragma once

class CMainFrame;
class CQuillboxView;
class CSectionDlg;

/// Issue mode. Asks for a section and adds the entry at (x, y); every change
/// is saved at once. False only on the duplicate path, which ends without
/// passing the press on.
bool AddArticleAt(CMainFrame& frame, CQuillboxView& view, CSectionDlg& sectionDlg, int x, int y);

/// Favourites mode. Asks before removing the favourite at (x, y); every
/// change is saved at once, and a section left empty goes from the list.
void RemoveFavoriteAt(CMainFrame& frame, CQuillboxView& view, int x, int y);
