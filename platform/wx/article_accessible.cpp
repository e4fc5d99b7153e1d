// SPDX-License-Identifier: GPL-3.0-or-later
// The accessible of a drawn list window on GTK. The toolkit offers drawn
// windows no accessible of their own, and a widget keeps whatever its class's
// get_accessible hands out; so that slot of the window's class is replaced
// once, and it hands our list object to the windows marked here and the
// usual one to all others.
#include "platform/wx/article_accessible.h"

#include <gtk/gtk-a11y.h>
#include <gtk/gtk.h>

#include <map>

#include <wx/window.h>

namespace {

struct ListState;

}  // namespace

// ----------------------------------------------------------------------------
// the item and list object types
// ----------------------------------------------------------------------------

extern "C" {

struct VestrelsListItem {
    AtkObject parent;
    int index;
    gboolean selected;
    gboolean focused;
    gboolean showing;
    GdkRectangle place;
};
struct VestrelsListItemClass {
    AtkObjectClass parent_class;
};

struct VestrelsDrawnList {
    GtkWidgetAccessible parent;
};
struct VestrelsDrawnListClass {
    GtkWidgetAccessibleClass parent_class;
};

}  // extern "C"

static void vestrels_list_item_component_init(AtkComponentIface* iface);
G_DEFINE_TYPE_WITH_CODE(VestrelsListItem, vestrels_list_item, ATK_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT, vestrels_list_item_component_init))
G_DEFINE_TYPE(VestrelsDrawnList, vestrels_drawn_list, GTK_TYPE_WIDGET_ACCESSIBLE)

namespace {

VestrelsListItem* AsItem(AtkObject* object)
{
    return G_TYPE_CHECK_INSTANCE_CAST(object, vestrels_list_item_get_type(), VestrelsListItem);
}

/// What one marked window keeps: where its content comes from, what the
/// screen reader was last told, and the objects it was given.
struct ListState {
    std::function<AccessibleList()> source;
    wxWindow* window = nullptr;
    GtkWidget* widget = nullptr;
    AtkObject* accessible = nullptr;  ///< created when first asked for; one reference held
    AccessibleList told;
    bool named = false;  ///< the list's name was given once
    std::vector<AtkObject*> items;  ///< one reference each
    int focusedItem = -1;

    ~ListState()
    {
        DropItems(false);
        if (accessible) {
            // The screen reader may hold the object longer than the window lives.
            gtk_accessible_set_widget(GTK_ACCESSIBLE(accessible), nullptr);
            g_object_unref(accessible);
        }
    }

    void DropItems(bool tell)
    {
        for (std::size_t i = items.size(); i-- > 0;) {
            if (tell)
                g_signal_emit_by_name(accessible, "children-changed::remove", static_cast<gint>(i), items[i]);
            g_object_unref(items[i]);
        }
        items.clear();
        focusedItem = -1;
    }
};

GQuark StateQuark()
{
    static const GQuark quark = g_quark_from_static_string("vestrels-drawn-list");
    return quark;
}

ListState* StateOf(GtkWidget* widget)
{
    return widget ? static_cast<ListState*>(g_object_get_qdata(G_OBJECT(widget), StateQuark())) : nullptr;
}

ListState* StateOfList(AtkObject* list)
{
    return StateOf(gtk_accessible_get_widget(GTK_ACCESSIBLE(list)));
}

AtkObject* MakeItem(AtkObject* list, int index, const AccessibleItem& entry)
{
    auto* object = ATK_OBJECT(g_object_new(vestrels_list_item_get_type(), nullptr));
    VestrelsListItem* item = AsItem(object);
    item->index = index;
    item->selected = entry.selected;
    atk_object_set_role(object, entry.heading ? ATK_ROLE_HEADING : ATK_ROLE_LIST_ITEM);
    atk_object_set_name(object, entry.name.c_str());
    if (!entry.description.empty())
        atk_object_set_description(object, entry.description.c_str());
    atk_object_set_parent(object, list);
    return object;
}

bool SameEntriesApartFromSelection(const AccessibleList& a, const AccessibleList& b)
{
    if (a.items.size() != b.items.size())
        return false;
    for (std::size_t i = 0; i < a.items.size(); ++i) {
        const AccessibleItem& x = a.items[i];
        const AccessibleItem& y = b.items[i];
        if (x.name != y.name || x.description != y.description || x.heading != y.heading)
            return false;
    }
    return true;
}

void ReplaceItems(ListState& state, const AccessibleList& now)
{
    state.DropItems(true);
    for (std::size_t i = 0; i < now.items.size(); ++i) {
        state.items.push_back(MakeItem(state.accessible, static_cast<int>(i), now.items[i]));
        g_signal_emit_by_name(state.accessible, "children-changed::add", static_cast<gint>(i), state.items[i]);
    }
}

/// Places change with every scroll; they are asked for, not announced.
void UpdatePlaces(ListState& state, const AccessibleList& now)
{
    const wxSize client = state.window->GetClientSize();
    for (std::size_t i = 0; i < state.items.size(); ++i) {
        const AccessiblePlace& place = now.items[i].place;
        VestrelsListItem* item = AsItem(state.items[i]);
        item->place = GdkRectangle{place.x, place.y, place.width, place.height};
        item->showing = place.width > 0 && place.height > 0 && place.y < client.y && place.y + place.height > 0;
    }
}

void TellSelection(ListState& state, const AccessibleList& now)
{
    for (std::size_t i = 0; i < state.items.size(); ++i) {
        VestrelsListItem* item = AsItem(state.items[i]);
        const gboolean selected = now.items[i].selected;
        if (item->selected != selected) {
            item->selected = selected;
            atk_object_notify_state_change(state.items[i], ATK_STATE_SELECTED, selected);
        }
    }
}

/// The keyboard cursor is the selected entry while the window has the focus.
void TellFocus(ListState& state, const AccessibleList& now)
{
    int cursor = -1;
    if (gtk_widget_has_focus(state.widget)) {
        for (std::size_t i = 0; i < now.items.size() && cursor < 0; ++i)
            if (now.items[i].selected)
                cursor = static_cast<int>(i);
    }
    if (cursor == state.focusedItem)
        return;
    if (state.focusedItem >= 0 && state.focusedItem < static_cast<int>(state.items.size())) {
        AtkObject* old = state.items[static_cast<std::size_t>(state.focusedItem)];
        AsItem(old)->focused = FALSE;
        atk_object_notify_state_change(old, ATK_STATE_FOCUSED, FALSE);
    }
    state.focusedItem = cursor;
    if (cursor < 0)
        return;
    AtkObject* item = state.items[static_cast<std::size_t>(cursor)];
    AsItem(item)->focused = TRUE;
    atk_object_notify_state_change(item, ATK_STATE_FOCUSED, TRUE);
    g_signal_emit_by_name(state.accessible, "active-descendant-changed", item);
}

void Tell(ListState& state)
{
    if (!state.accessible)
        return;
    AccessibleList now = state.source();
    if (!state.named || now.name != state.told.name)
        atk_object_set_name(state.accessible, now.name.c_str());
    state.named = true;
    if (!SameEntriesApartFromSelection(now, state.told))
        ReplaceItems(state, now);
    else
        TellSelection(state, now);
    UpdatePlaces(state, now);
    TellFocus(state, now);
    state.told = std::move(now);
}

// ----------------------------------------------------------------------------
// the replaced get_accessible slot
// ----------------------------------------------------------------------------

using GetAccessibleFunction = AtkObject* (*)(GtkWidget*);

/// The slots replaced, by the type whose class held them.
std::map<GType, GetAccessibleFunction>& OriginalSlots()
{
    static std::map<GType, GetAccessibleFunction> slots;
    return slots;
}

/// A type derived later from a replaced one inherits the replacement: its
/// original is its nearest ancestor's.
GetAccessibleFunction OriginalSlotOf(GtkWidget* widget)
{
    for (GType type = G_TYPE_FROM_INSTANCE(widget); type != 0; type = g_type_parent(type)) {
        const auto found = OriginalSlots().find(type);
        if (found != OriginalSlots().end())
            return found->second;
    }
    return GTK_WIDGET_CLASS(g_type_class_peek(GTK_TYPE_WIDGET))->get_accessible;
}

AtkObject* GetAccessible(GtkWidget* widget)
{
    ListState* state = StateOf(widget);
    if (!state)
        return OriginalSlotOf(widget)(widget);
    if (!state->accessible) {
        state->accessible = ATK_OBJECT(g_object_new(vestrels_drawn_list_get_type(), "widget", widget, nullptr));
        atk_object_initialize(state->accessible, widget);
        Tell(*state);
    }
    return state->accessible;
}

void ReplaceSlotOnce(GtkWidget* widget)
{
    GtkWidgetClass* widgetClass = GTK_WIDGET_GET_CLASS(widget);
    if (widgetClass->get_accessible == GetAccessible)
        return;
    OriginalSlots().emplace(G_TYPE_FROM_INSTANCE(widget), widgetClass->get_accessible);
    widgetClass->get_accessible = GetAccessible;
}

gboolean OnFocusChange(GtkWidget* widget, GdkEvent*, gpointer)
{
    if (ListState* state = StateOf(widget))
        Tell(*state);
    return FALSE;
}

void OnDestroy(GtkWidget* widget, gpointer)
{
    g_object_set_qdata(G_OBJECT(widget), StateQuark(), nullptr);
}

}  // namespace

// ----------------------------------------------------------------------------
// class functions
// ----------------------------------------------------------------------------

static AtkStateSet* vestrels_list_item_ref_state_set(AtkObject* object)
{
    AtkStateSet* set = ATK_OBJECT_CLASS(vestrels_list_item_parent_class)->ref_state_set(object);
    for (AtkStateType type :
         {ATK_STATE_ENABLED, ATK_STATE_SENSITIVE, ATK_STATE_VISIBLE, ATK_STATE_SELECTABLE, ATK_STATE_FOCUSABLE})
        atk_state_set_add_state(set, type);
    const VestrelsListItem* item = AsItem(object);
    if (item->showing)
        atk_state_set_add_state(set, ATK_STATE_SHOWING);
    if (item->selected)
        atk_state_set_add_state(set, ATK_STATE_SELECTED);
    if (item->focused)
        atk_state_set_add_state(set, ATK_STATE_FOCUSED);
    return set;
}

static gint vestrels_list_item_get_index_in_parent(AtkObject* object)
{
    return AsItem(object)->index;
}

static void vestrels_list_item_get_extents(AtkComponent* component, gint* x, gint* y, gint* width, gint* height,
                                           AtkCoordType coordinates)
{
    const VestrelsListItem* item = AsItem(ATK_OBJECT(component));
    AtkObject* list = atk_object_get_parent(ATK_OBJECT(component));
    const ListState* state = list ? StateOfList(list) : nullptr;
    *x = *y = *width = *height = 0;
    if (!state)
        return;
    wxPoint origin(item->place.x, item->place.y);
    if (coordinates != ATK_XY_PARENT)
        origin = state->window->ClientToScreen(origin);
    GdkWindow* top = gtk_widget_get_window(gtk_widget_get_toplevel(state->widget));
    if (coordinates == ATK_XY_WINDOW && top) {
        gint left = 0, upper = 0;
        gdk_window_get_origin(top, &left, &upper);
        origin -= wxPoint(left, upper);
    }
    *x = origin.x;
    *y = origin.y;
    *width = item->place.width;
    *height = item->place.height;
}

static void vestrels_list_item_component_init(AtkComponentIface* iface)
{
    iface->get_extents = vestrels_list_item_get_extents;
}

static void vestrels_list_item_class_init(VestrelsListItemClass* klass)
{
    AtkObjectClass* objectClass = ATK_OBJECT_CLASS(klass);
    objectClass->ref_state_set = vestrels_list_item_ref_state_set;
    objectClass->get_index_in_parent = vestrels_list_item_get_index_in_parent;
}

static void vestrels_list_item_init(VestrelsListItem* item)
{
    item->index = -1;
}

static void vestrels_drawn_list_initialize(AtkObject* object, gpointer data)
{
    ATK_OBJECT_CLASS(vestrels_drawn_list_parent_class)->initialize(object, data);
    object->role = ATK_ROLE_LIST;
}

static gint vestrels_drawn_list_get_n_children(AtkObject* object)
{
    const ListState* state = StateOfList(object);
    return state ? static_cast<gint>(state->items.size()) : 0;
}

static AtkObject* vestrels_drawn_list_ref_child(AtkObject* object, gint index)
{
    const ListState* state = StateOfList(object);
    if (!state || index < 0 || static_cast<std::size_t>(index) >= state->items.size())
        return nullptr;
    return ATK_OBJECT(g_object_ref(state->items[static_cast<std::size_t>(index)]));
}

static void vestrels_drawn_list_class_init(VestrelsDrawnListClass* klass)
{
    AtkObjectClass* objectClass = ATK_OBJECT_CLASS(klass);
    objectClass->initialize = vestrels_drawn_list_initialize;
    objectClass->get_n_children = vestrels_drawn_list_get_n_children;
    objectClass->ref_child = vestrels_drawn_list_ref_child;
}

static void vestrels_drawn_list_init(VestrelsDrawnList*) {}

// ----------------------------------------------------------------------------
// the interface
// ----------------------------------------------------------------------------

void ExposeAsAccessibleList(wxWindow* window, std::function<AccessibleList()> source)
{
    GtkWidget* widget = window->GetHandle();
    auto* state = new ListState;
    state->source = std::move(source);
    state->window = window;
    state->widget = widget;
    g_object_set_qdata_full(G_OBJECT(widget), StateQuark(), state,
                            [](gpointer data) { delete static_cast<ListState*>(data); });
    ReplaceSlotOnce(widget);
    g_signal_connect_after(widget, "focus-in-event", G_CALLBACK(OnFocusChange), nullptr);
    g_signal_connect_after(widget, "focus-out-event", G_CALLBACK(OnFocusChange), nullptr);
    g_signal_connect(widget, "destroy", G_CALLBACK(OnDestroy), nullptr);
}

void WithdrawAccessibleList(wxWindow* window)
{
    if (GtkWidget* widget = window->GetHandle())
        OnDestroy(widget, nullptr);
}

void NotifyAccessibleList(wxWindow* window)
{
    if (ListState* state = StateOf(window->GetHandle()))
        Tell(*state);
}
