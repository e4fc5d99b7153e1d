// SPDX-License-Identifier: GPL-3.0-or-later
// Accessible names and the speaking status bar on GTK.
#include "platform/wx/spoken_names.h"

#include <gtk/gtk.h>

#include <wx/control.h>
#include <wx/toolbar.h>

namespace {

/// The widget a screen reader sees for `window` and, where the toolkit
/// wraps it (a list in its scrolled window, a combo box's field), the one
/// that takes the focus.
std::vector<GtkWidget*> SpokenWidgets(wxWindow* window)
{
    std::vector<GtkWidget*> widgets{window->GetHandle()};
    GtkWidget* focused = window->GetConnectWidget();
    if (focused && focused != widgets.front())
        widgets.push_back(focused);
    return widgets;
}

void SetName(GtkWidget* widget, const wxString& name)
{
    atk_object_set_name(gtk_widget_get_accessible(widget), name.utf8_str());
}

}  // namespace

void NameForScreenReaders(wxWindow* control, const wxString& name)
{
    for (GtkWidget* widget : SpokenWidgets(control))
        SetName(widget, name);
}

void LabelForScreenReaders(wxWindow* control, wxWindow* label)
{
    const wxString text = wxControl::RemoveMnemonics(label->GetLabel());
    AtkObject* labelObject = gtk_widget_get_accessible(label->GetHandle());
    for (GtkWidget* widget : SpokenWidgets(control)) {
        SetName(widget, text);
        AtkObject* object = gtk_widget_get_accessible(widget);
        atk_object_add_relationship(object, ATK_RELATION_LABELLED_BY, labelObject);
        atk_object_add_relationship(labelObject, ATK_RELATION_LABEL_FOR, object);
    }
}

void ReadAsAlert(wxWindow* dialog)
{
    atk_object_set_role(gtk_widget_get_accessible(dialog->GetHandle()), ATK_ROLE_ALERT);
}

void ReadAsDialog(wxWindow* dialog)
{
    atk_object_set_role(gtk_widget_get_accessible(dialog->GetHandle()), ATK_ROLE_DIALOG);
}

void NameToolButtons(wxToolBar* toolBar)
{
    // The toolkit's items stand in the tools' order, separators included.
    GtkToolbar* items = toolBar->GTKGetToolbar();
    for (size_t pos = 0; pos < toolBar->GetToolsCount(); ++pos) {
        const wxToolBarToolBase* tool = toolBar->GetToolByPos(static_cast<int>(pos));
        GtkToolItem* item = gtk_toolbar_get_nth_item(items, static_cast<gint>(pos));
        if (!tool || !item || tool->IsSeparator() || tool->GetShortHelp().empty())
            continue;
        GtkWidget* button = gtk_bin_get_child(GTK_BIN(item));
        SetName(button ? button : GTK_WIDGET(item), tool->GetShortHelp());
    }
}

SpokenStatusBar::SpokenStatusBar(wxWindow* parent, wxWindowID id, long style, const wxString& name)
    : wxStatusBar(parent, id, style, name)
{
    atk_object_set_role(gtk_widget_get_accessible(GetHandle()), ATK_ROLE_STATUSBAR);
}

void SpokenStatusBar::DoUpdateStatusText(int number)
{
    wxStatusBar::DoUpdateStatusText(number);
    // The keyboard indicators are no message.
    if (number != 0 || GetStatusText(0) == spokenText)
        return;
    spokenText = GetStatusText(0);
    AtkObject* bar = gtk_widget_get_accessible(GetHandle());
    // The new name is sent as a change of the status bar; a notification
    // that appears is what screen readers speak without the focus moving.
    atk_object_set_name(bar, spokenText.utf8_str());
    AtkObject* message = ATK_OBJECT(g_object_new(ATK_TYPE_OBJECT, nullptr));
    atk_object_set_role(message, ATK_ROLE_NOTIFICATION);
    atk_object_set_name(message, spokenText.utf8_str());
    atk_object_set_parent(message, bar);
    atk_object_notify_state_change(message, ATK_STATE_SHOWING, TRUE);
    g_object_unref(message);
}
