// SPDX-License-Identifier: GPL-3.0-or-later
// "Выбор  ": the fonts dialog, one button per text style of the article view.
// The object lives with the main frame; its window exists while it is shown.
#pragma once

#include <functional>

#include "core/settings/settings_store.h"

class wxWindow;

class CFontTargetDlg {
public:
    /// Shows the dialog over `parent`. Each confirmed font choice changes
    /// its style in `styles` at once and calls `repaint`. wxID_OK when
    /// closed with OK, wxID_CANCEL with Esc or the close box.
    int DoModal(wxWindow* parent, TextStyles& styles, std::function<void()> repaint);
};
