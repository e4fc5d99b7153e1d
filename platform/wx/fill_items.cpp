// SPDX-License-Identifier: GPL-3.0-or-later
// The combo box gets a new model, filled before it is attached: the views
// then see one new model instead of one change per row.
#include "platform/wx/fill_items.h"

#include <vector>

#include <gtk/gtk.h>
#include <wx/combobox.h>

namespace {

/// A new, empty store with the columns of `model`.
GtkListStore* EmptyStoreLike(GtkTreeModel* model)
{
    const int columns = gtk_tree_model_get_n_columns(model);
    std::vector<GType> types(static_cast<std::size_t>(columns));
    for (int i = 0; i < columns; ++i)
        types[static_cast<std::size_t>(i)] = gtk_tree_model_get_column_type(model, i);
    return gtk_list_store_newv(columns, types.data());
}

}  // namespace

void AppendAllAtOnce(wxComboBox* box, const wxArrayString& items)
{
    GtkComboBox* combo = GTK_IS_COMBO_BOX(box->GetHandle()) ? GTK_COMBO_BOX(box->GetHandle()) : nullptr;
    GtkTreeModel* model = combo ? gtk_combo_box_get_model(combo) : nullptr;
    if (!model || !GTK_IS_LIST_STORE(model)) {
        box->Append(items);
        return;
    }
    // A new store of the same columns has no listener at all while it is
    // filled; the old one may still have some after it is detached.
    GtkListStore* store = EmptyStoreLike(model);
    const int column = gtk_combo_box_get_entry_text_column(combo);
    GtkTreeIter iter;
    for (gboolean more = gtk_tree_model_get_iter_first(model, &iter); more; more = gtk_tree_model_iter_next(model, &iter)) {
        gchar* text = nullptr;
        gtk_tree_model_get(model, &iter, column, &text, -1);
        gtk_list_store_insert_with_values(store, nullptr, -1, column, text, -1);
        g_free(text);
    }
    for (const wxString& item : items)
        gtk_list_store_insert_with_values(store, nullptr, -1, column, item.utf8_str().data(), -1);
    gtk_combo_box_set_model(combo, GTK_TREE_MODEL(store));
    g_object_unref(store);
}

void ClearAllAtOnce(wxComboBox* box)
{
    GtkComboBox* combo = box && GTK_IS_COMBO_BOX(box->GetHandle()) ? GTK_COMBO_BOX(box->GetHandle()) : nullptr;
    GtkTreeModel* model = combo ? gtk_combo_box_get_model(combo) : nullptr;
    if (!model)
        return;
    GtkListStore* empty = EmptyStoreLike(model);
    gtk_combo_box_set_model(combo, GTK_TREE_MODEL(empty));
    g_object_unref(empty);
}
