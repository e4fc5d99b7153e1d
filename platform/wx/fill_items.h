// SPDX-License-Identifier: GPL-3.0-or-later
// Filling a list control with many items at once. GTK's combo box answers
// every single insertion by updating its drop-down views, so appending item
// by item costs time growing with the square of the count (minutes for
// 20 000 names, during which the program answers no signal).
#pragma once

#include <wx/arrstr.h>

class wxComboBox;

/// Appends `items` to the combo box's list in one step: the rows go into a
/// model no view is attached to yet. GTK still makes one menu item per row
/// when the model is attached, at a cost growing faster than the count: keep
/// the count to a few thousand.
void AppendAllAtOnce(wxComboBox* box, const wxArrayString& items);

/// Empties the list in one step (a box destroyed with many items would
/// otherwise remove them one by one).
void ClearAllAtOnce(wxComboBox* box);
