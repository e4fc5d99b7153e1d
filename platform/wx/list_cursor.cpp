// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wx/list_cursor.h"

#include <gtk/gtk.h>

#include <wx/listbox.h>

void PlaceCursorWithoutSelecting(wxListBox* list)
{
    if (!list || list->IsEmpty())
        return;
    GtkTreeView* view = GTK_TREE_VIEW(list->m_treeview);
    const int selected = list->GetSelection();
    list->GTKDisableEvents();
    GtkTreePath* path = gtk_tree_path_new_from_indices(selected >= 0 ? selected : 0, -1);
    gtk_tree_view_set_cursor(view, path, nullptr, FALSE);
    gtk_tree_path_free(path);
    // Setting the cursor selects its row.
    if (selected < 0)
        gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(view));
    list->GTKEnableEvents();
}
