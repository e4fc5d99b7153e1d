// SPDX-License-Identifier: GPL-3.0-or-later
// The issue, result and section lists: a list box that taking the focus
// does not change, and that finds a row by typing.
#pragma once

class wxListBox;

/// GTK's list selects its first row when it takes the focus without a cursor
/// row, which would choose an item the user never chose. This puts the cursor
/// on the selected row, or on the first row without selecting it, and sends
/// no selection event.
void PlaceCursorWithoutSelecting(wxListBox* list);

/// Lets the list jump to the first row that begins with what is typed: the
/// toolkit's type-ahead field, which the list box keeps switched off.
void EnableTypeAhead(wxListBox* list);

/// True while the list's type-ahead field is open. A row reached by typing
/// is chosen at once, but the focus stays in the list: moving it would close
/// the field after the first letter.
bool TypingAhead(const wxListBox* list);
