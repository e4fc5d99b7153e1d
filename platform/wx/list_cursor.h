// SPDX-License-Identifier: GPL-3.0-or-later
// A list box that taking the focus does not change.
#pragma once

class wxListBox;

/// GTK's list selects its first row when it takes the focus without a cursor
/// row, which would choose an item the user never chose. This puts the cursor
/// on the selected row, or on the first row without selecting it, and sends
/// no selection event.
void PlaceCursorWithoutSelecting(wxListBox* list);
