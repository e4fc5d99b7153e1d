// SPDX-License-Identifier: GPL-3.0-or-later
// "Выбор  ": the fonts dialog, one button per text style of the article view.
// The object lives with the main frame; its window exists while it is shown.
#pragma once

class CMainFrame;

class CFontTargetDlg {
public:
    /// Shows the dialog over the frame. Each confirmed font choice changes
    /// the frame's style at once and repaints the article view. wxID_OK when
    /// closed with OK, wxID_CANCEL with Esc or the close box.
    int DoModal(CMainFrame* frame);
};
