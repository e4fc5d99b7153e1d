// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wx/list_cursor.h"

#include <gtk/gtk.h>
#include <string>

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

namespace {

/// GTK's rule for a row the typed text finds: FALSE for a match. The list
/// box's own rule compares collation keys, of which one of a prefix is no
/// prefix, so it finds nothing; this one compares the rows' texts with case
/// folded.
gboolean RowDoesNotBeginWith(GtkTreeModel* model, gint, const gchar* typed, GtkTreeIter* row, gpointer data)
{
    const auto* list = static_cast<const wxListBox*>(data);
    GtkTreePath* path = gtk_tree_model_get_path(model, row);
    const int index = gtk_tree_path_get_indices(path)[0];
    gtk_tree_path_free(path);
    if (index < 0 || index >= static_cast<int>(list->GetCount()))
        return TRUE;
    const std::string text = list->GetString(static_cast<unsigned>(index)).utf8_string();
    gchar* rowFolded = g_utf8_casefold(text.c_str(), -1);
    gchar* typedFolded = g_utf8_casefold(typed, -1);
    const bool begins = g_str_has_prefix(rowFolded, typedFolded);
    g_free(rowFolded);
    g_free(typedFolded);
    return begins ? FALSE : TRUE;
}

}  // namespace

void EnableTypeAhead(wxListBox* list)
{
    if (!list)
        return;
    GtkTreeView* view = GTK_TREE_VIEW(list->m_treeview);
    gtk_tree_view_set_search_equal_func(view, RowDoesNotBeginWith, list, nullptr);
    gtk_tree_view_set_enable_search(view, TRUE);
}

// The field lives in a pop-up window of its own, modal and transient for the
// list's window; no call names it, so it is found among the open windows.
bool TypingAhead(const wxListBox* list)
{
    if (!list)
        return false;
    GtkWidget* owner = gtk_widget_get_toplevel(GTK_WIDGET(list->m_treeview));
    GList* windows = gtk_window_list_toplevels();
    bool open = false;
    for (GList* item = windows; item && !open; item = item->next) {
        GtkWindow* window = GTK_WINDOW(item->data);
        open = gtk_window_get_window_type(window) == GTK_WINDOW_POPUP && gtk_widget_get_visible(GTK_WIDGET(window)) &&
               gtk_window_get_modal(window) && GTK_WIDGET(gtk_window_get_transient_for(window)) == owner;
    }
    g_list_free(windows);
    return open;
}
