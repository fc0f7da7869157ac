#include "platform/gtk_list_accessible.h"

#include <gtk/gtk-a11y.h>
#include <gtk/gtk.h>

#include <deque>
#include <map>

namespace lq {
namespace {

// Row objects kept alive for readers that hold them; a reader looks at a few rows at a time,
// so the oldest go past this many and a million rows never make a million objects.
constexpr std::size_t kRowsKept = 256;

struct ListState {
  AccessibleRows* rows = nullptr;
  std::map<int, AtkObject*> kept;  // one reference each
  std::deque<int> made;            // kept's rows, oldest first
  int told_count = 0;
  int told_focus = -1;
  guint pending_tell = 0;
  gulong focus_in = 0;
  gulong focus_out = 0;
};

struct LqListAccessible {
  GtkWidgetAccessible parent;
  ListState* state;
};
struct LqListAccessibleClass {
  GtkWidgetAccessibleClass parent_class;
};

struct LqListRow {
  AtkObject parent;
  LqListAccessible* list;  // the row's parent, which it holds a reference to
  int index;
  gboolean stale;  // the rows changed since it was made
  gchar* name;
};
struct LqListRowClass {
  AtkObjectClass parent_class;
};

GType lq_list_accessible_get_type();
GType lq_list_row_get_type();

LqListAccessible* AsList(gpointer object) {
  return G_TYPE_CHECK_INSTANCE_CAST(object, lq_list_accessible_get_type(), LqListAccessible);
}
LqListRow* AsRow(gpointer object) {
  return G_TYPE_CHECK_INSTANCE_CAST(object, lq_list_row_get_type(), LqListRow);
}

AccessibleRows* RowsOf(LqListAccessible* list) {
  return list->state != nullptr ? list->state->rows : nullptr;
}

GtkWidget* WidgetOf(LqListAccessible* list) {
  return gtk_accessible_get_widget(GTK_ACCESSIBLE(list));
}

bool Valid(AccessibleRows* rows, int row) {
  return rows != nullptr && row >= 0 && row < rows->RowCount();
}

// The row's object, made on first asking; borrowed from the list.
AtkObject* RowObject(LqListAccessible* list, int index) {
  ListState& state = *list->state;
  if (auto found = state.kept.find(index); found != state.kept.end()) return found->second;
  while (state.kept.size() >= kRowsKept) {
    const int oldest = state.made.front();
    state.made.pop_front();
    // The focused row stays: readers come back to it.
    if (oldest == state.told_focus && state.kept.size() > 1) {
      state.made.push_back(oldest);
      continue;
    }
    g_object_unref(state.kept[oldest]);
    state.kept.erase(oldest);
  }
  LqListRow* row = AsRow(g_object_new(lq_list_row_get_type(), nullptr));
  row->list = list;
  row->index = index;
  AtkObject* object = ATK_OBJECT(row);
  object->role = ATK_ROLE_LIST_ITEM;
  atk_object_set_parent(object, ATK_OBJECT(list));
  state.kept[index] = object;
  state.made.push_back(index);
  return object;
}

AtkObject* KeptRow(LqListAccessible* list, int index) {
  auto found = list->state->kept.find(index);
  return found != list->state->kept.end() ? found->second : nullptr;
}

// Drops every row object; one a reader still holds says it is defunct when asked (told to
// each, a reader would be sent a signal for every row it ever looked at).
void ForgetRows(LqListAccessible* list) {
  ListState& state = *list->state;
  for (auto& [index, object] : state.kept) {
    AsRow(object)->stale = TRUE;
    g_object_unref(object);
  }
  state.kept.clear();
  state.made.clear();
}

bool ListHasFocus(LqListAccessible* list) {
  GtkWidget* widget = WidgetOf(list);
  return widget != nullptr && gtk_widget_has_focus(widget);
}

// Tells readers where the keyboard is: the row focused, as the list's active descendant.
void TellFocus(LqListAccessible* list, bool list_focused) {
  AccessibleRows* rows = RowsOf(list);
  if (!Valid(rows, list->state->told_focus)) return;
  AtkObject* row = RowObject(list, list->state->told_focus);
  atk_object_notify_state_change(row, ATK_STATE_FOCUSED, list_focused);
  if (list_focused) g_signal_emit_by_name(list, "active-descendant-changed", row);
}

void TellSelection(LqListAccessible* list) {
  AccessibleRows* rows = RowsOf(list);
  if (rows == nullptr) return;
  ListState& state = *list->state;
  const int focus = rows->FocusedRow();
  if (focus != state.told_focus) {
    if (AtkObject* old = KeptRow(list, state.told_focus)) {
      atk_object_notify_state_change(old, ATK_STATE_FOCUSED, FALSE);
    }
    state.told_focus = focus;
    TellFocus(list, ListHasFocus(list));
  }
  g_signal_emit_by_name(list, "selection-changed");
}

gboolean TellLater(gpointer data) {
  LqListAccessible* list = AsList(data);
  if (list->state != nullptr) {
    list->state->pending_tell = 0;
    TellSelection(list);
  }
  return G_SOURCE_REMOVE;
}

gboolean OnFocusIn(GtkWidget*, GdkEvent*, gpointer data) {
  LqListAccessible* list = AsList(data);
  if (RowsOf(list) != nullptr) {
    list->state->told_focus = RowsOf(list)->FocusedRow();
    TellFocus(list, true);
  }
  return FALSE;
}

gboolean OnFocusOut(GtkWidget*, GdkEvent*, gpointer data) {
  LqListAccessible* list = AsList(data);
  if (AtkObject* row = KeptRow(list, list->state->told_focus)) {
    atk_object_notify_state_change(row, ATK_STATE_FOCUSED, FALSE);
  }
  return FALSE;
}

gboolean OpenMenuLater(gpointer data) {
  LqListAccessible* list = AsList(data);
  if (AccessibleRows* rows = RowsOf(list)) rows->OpenMenu();
  g_object_unref(list);
  return G_SOURCE_REMOVE;
}

// ---- The list: AtkObject, AtkSelection, AtkAction.

void ListSelectionInit(AtkSelectionIface* iface);
void ListActionInit(AtkActionIface* iface);

G_DEFINE_TYPE_WITH_CODE(LqListAccessible, lq_list_accessible, GTK_TYPE_WIDGET_ACCESSIBLE,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_SELECTION, ListSelectionInit)
                            G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, ListActionInit))

void lq_list_accessible_init(LqListAccessible* list) { list->state = new ListState; }

void ListFinalize(GObject* object) {
  LqListAccessible* list = AsList(object);
  if (list->state->pending_tell != 0) g_source_remove(list->state->pending_tell);
  delete list->state;
  list->state = nullptr;
  G_OBJECT_CLASS(lq_list_accessible_parent_class)->finalize(object);
}

void ListInitialize(AtkObject* object, gpointer data) {
  ATK_OBJECT_CLASS(lq_list_accessible_parent_class)->initialize(object, data);
  object->role = ATK_ROLE_LIST;
}

gint ListChildCount(AtkObject* object) {
  AccessibleRows* rows = RowsOf(AsList(object));
  return rows != nullptr && WidgetOf(AsList(object)) != nullptr ? rows->RowCount() : 0;
}

AtkObject* ListChild(AtkObject* object, gint index) {
  LqListAccessible* list = AsList(object);
  if (!Valid(RowsOf(list), index) || WidgetOf(list) == nullptr) return nullptr;
  return ATK_OBJECT(g_object_ref(RowObject(list, index)));
}

AtkStateSet* ListStates(AtkObject* object) {
  AtkStateSet* states = ATK_OBJECT_CLASS(lq_list_accessible_parent_class)->ref_state_set(object);
  if (WidgetOf(AsList(object)) != nullptr) {
    // Readers must not walk a million rows; they ask for the ones they show.
    atk_state_set_add_state(states, ATK_STATE_MANAGES_DESCENDANTS);
    atk_state_set_add_state(states, ATK_STATE_MULTISELECTABLE);
  }
  return states;
}

void lq_list_accessible_class_init(LqListAccessibleClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = ListFinalize;
  AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
  atk->initialize = ListInitialize;
  atk->get_n_children = ListChildCount;
  atk->ref_child = ListChild;
  atk->ref_state_set = ListStates;
}

gboolean ListAddSelection(AtkSelection* selection, gint index) {
  AccessibleRows* rows = RowsOf(AsList(selection));
  if (!Valid(rows, index)) return FALSE;
  rows->SetRowSelected(index, true);
  return TRUE;
}

gboolean ListRemoveSelection(AtkSelection* selection, gint n) {
  AccessibleRows* rows = RowsOf(AsList(selection));
  if (rows == nullptr || n < 0) return FALSE;
  const int row = rows->NthSelectedRow(n);
  if (row < 0) return FALSE;
  rows->SetRowSelected(row, false);
  return TRUE;
}

gboolean ListClearSelection(AtkSelection* selection) {
  AccessibleRows* rows = RowsOf(AsList(selection));
  if (rows == nullptr) return FALSE;
  rows->SelectAllRows(false);
  return TRUE;
}

gboolean ListSelectAll(AtkSelection* selection) {
  AccessibleRows* rows = RowsOf(AsList(selection));
  if (rows == nullptr) return FALSE;
  rows->SelectAllRows(true);
  return TRUE;
}

AtkObject* ListSelected(AtkSelection* selection, gint n) {
  LqListAccessible* list = AsList(selection);
  AccessibleRows* rows = RowsOf(list);
  const int row = rows != nullptr && n >= 0 ? rows->NthSelectedRow(n) : -1;
  if (!Valid(rows, row)) return nullptr;
  return ATK_OBJECT(g_object_ref(RowObject(list, row)));
}

gint ListSelectedCount(AtkSelection* selection) {
  AccessibleRows* rows = RowsOf(AsList(selection));
  return rows != nullptr ? rows->SelectedRowCount() : 0;
}

gboolean ListIsSelected(AtkSelection* selection, gint index) {
  AccessibleRows* rows = RowsOf(AsList(selection));
  return Valid(rows, index) && rows->RowSelected(index) ? TRUE : FALSE;
}

void ListSelectionInit(AtkSelectionIface* iface) {
  iface->add_selection = ListAddSelection;
  iface->remove_selection = ListRemoveSelection;
  iface->clear_selection = ListClearSelection;
  iface->select_all_selection = ListSelectAll;
  iface->ref_selection = ListSelected;
  iface->get_selection_count = ListSelectedCount;
  iface->is_child_selected = ListIsSelected;
}

gint ListActionCount(AtkAction*) { return 1; }

const gchar* ListActionName(AtkAction*, gint i) { return i == 0 ? "menu" : nullptr; }

const gchar* ListActionDescription(AtkAction*, gint i) {
  return i == 0 ? "Opens the list's menu" : nullptr;
}

gboolean ListDoAction(AtkAction* action, gint i) {
  LqListAccessible* list = AsList(action);
  if (i != 0 || RowsOf(list) == nullptr) return FALSE;
  // The menu runs a loop of its own: not inside the reader's call.
  g_idle_add(OpenMenuLater, g_object_ref(list));
  return TRUE;
}

void ListActionInit(AtkActionIface* iface) {
  iface->get_n_actions = ListActionCount;
  iface->get_name = ListActionName;
  iface->get_description = ListActionDescription;
  iface->do_action = ListDoAction;
}

// ---- A row: AtkObject, AtkComponent, AtkAction.

void RowComponentInit(AtkComponentIface* iface);
void RowActionInit(AtkActionIface* iface);

G_DEFINE_TYPE_WITH_CODE(LqListRow, lq_list_row, ATK_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT, RowComponentInit)
                            G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, RowActionInit))

void lq_list_row_init(LqListRow*) {}

// The rows a row reads, or null when it is stale or its list has gone.
AccessibleRows* LiveRows(LqListRow* row) {
  if (row->stale || row->list == nullptr || WidgetOf(row->list) == nullptr) return nullptr;
  AccessibleRows* rows = RowsOf(row->list);
  return Valid(rows, row->index) ? rows : nullptr;
}

void RowFinalize(GObject* object) {
  g_free(AsRow(object)->name);
  G_OBJECT_CLASS(lq_list_row_parent_class)->finalize(object);
}

const gchar* RowName(AtkObject* object) {
  LqListRow* row = AsRow(object);
  if (AccessibleRows* rows = LiveRows(row)) {
    g_free(row->name);
    row->name = g_strdup(rows->RowName(row->index).c_str());
  }
  return row->name != nullptr ? row->name : "";
}

gint RowIndex(AtkObject* object) { return AsRow(object)->index; }

AtkStateSet* RowStates(AtkObject* object) {
  LqListRow* row = AsRow(object);
  AtkStateSet* states = atk_state_set_new();
  AccessibleRows* rows = LiveRows(row);
  if (rows == nullptr) {
    atk_state_set_add_state(states, ATK_STATE_DEFUNCT);
    return states;
  }
  for (AtkStateType always : {ATK_STATE_ENABLED, ATK_STATE_SENSITIVE, ATK_STATE_SELECTABLE,
                              ATK_STATE_FOCUSABLE, ATK_STATE_VISIBLE}) {
    atk_state_set_add_state(states, always);
  }
  AccessibleRows::Area area;
  if (rows->RowArea(row->index, area) && gtk_widget_get_mapped(WidgetOf(row->list))) {
    atk_state_set_add_state(states, ATK_STATE_SHOWING);
  }
  if (rows->RowSelected(row->index)) atk_state_set_add_state(states, ATK_STATE_SELECTED);
  if (rows->FocusedRow() == row->index && ListHasFocus(row->list)) {
    atk_state_set_add_state(states, ATK_STATE_FOCUSED);
  }
  return states;
}

void lq_list_row_class_init(LqListRowClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = RowFinalize;
  AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
  atk->get_name = RowName;
  atk->get_index_in_parent = RowIndex;
  atk->ref_state_set = RowStates;
}

void RowExtents(AtkComponent* component, gint* x, gint* y, gint* width, gint* height,
                AtkCoordType coords) {
  *x = *y = *width = *height = 0;
  LqListRow* row = AsRow(component);
  AccessibleRows* rows = LiveRows(row);
  if (rows == nullptr) return;
  gint list_x = 0;
  gint list_y = 0;
  atk_component_get_extents(ATK_COMPONENT(row->list), &list_x, &list_y, nullptr, nullptr, coords);
  AccessibleRows::Area area;
  rows->RowArea(row->index, area);
  *x = list_x + area.x;
  *y = list_y + area.y;
  *width = area.width;
  *height = area.height;
}

void RowComponentInit(AtkComponentIface* iface) { iface->get_extents = RowExtents; }

gint RowActionCount(AtkAction*) { return 1; }

const gchar* RowActionName(AtkAction*, gint i) { return i == 0 ? "click" : nullptr; }

const gchar* RowActionDescription(AtkAction*, gint i) {
  return i == 0 ? "Focuses and selects the item alone" : nullptr;
}

gboolean RowDoAction(AtkAction* action, gint i) {
  LqListRow* row = AsRow(action);
  AccessibleRows* rows = LiveRows(row);
  if (i != 0 || rows == nullptr) return FALSE;
  rows->ClickRow(row->index);
  return TRUE;
}

void RowActionInit(AtkActionIface* iface) {
  iface->get_n_actions = RowActionCount;
  iface->get_name = RowActionName;
  iface->get_description = RowActionDescription;
  iface->do_action = RowDoAction;
}

// ---- The list's side.

class GtkListReader final : public ListReader {
 public:
  GtkListReader(GtkWidget* widget, LqListAccessible* list, AccessibleRows& rows)
      : widget_(widget), list_(list) {
    g_object_ref(list_);
    ListState& state = *list_->state;
    state.rows = &rows;
    state.told_count = rows.RowCount();
    state.told_focus = rows.FocusedRow();
    state.focus_in =
        g_signal_connect_after(widget_, "focus-in-event", G_CALLBACK(OnFocusIn), list_);
    state.focus_out =
        g_signal_connect_after(widget_, "focus-out-event", G_CALLBACK(OnFocusOut), list_);
  }

  ~GtkListReader() override {
    ListState& state = *list_->state;
    g_signal_handler_disconnect(widget_, state.focus_in);
    g_signal_handler_disconnect(widget_, state.focus_out);
    if (state.pending_tell != 0) g_source_remove(state.pending_tell);
    state.pending_tell = 0;
    ForgetRows(list_);
    state.rows = nullptr;
    g_object_unref(list_);
  }

  void RowsChanged() override {
    ListState& state = *list_->state;
    const int before = state.told_count;
    const int now = state.rows->RowCount();
    ForgetRows(list_);
    state.told_count = now;
    state.told_focus = -1;
    // Where rows went or came is the list's business; one signal each way says that they
    // did, so that a reader with a million rows is not sent a million signals.
    if (now < before) {
      g_signal_emit_by_name(list_, "children-changed::remove", static_cast<guint>(now), nullptr);
    }
    if (now > before) {
      g_signal_emit_by_name(list_, "children-changed::add", static_cast<guint>(before),
                            RowObject(list_, before));
    }
    g_signal_emit_by_name(list_, "visible-data-changed");
    // The window settles the focus after telling the list of a change (it selects the first
    // item of a list just opened): the focus is told once that is done.
    if (state.pending_tell == 0) state.pending_tell = g_idle_add(TellLater, list_);
  }

  void SelectionChanged() override { TellSelection(list_); }

 private:
  GtkWidget* widget_;
  LqListAccessible* list_;
};

// GTK 3 asks a widget's class for its accessible object and makes the class's type on first
// asking; a widget of a class shared with others (wxWidgets' own) cannot pick another type.
// So the class's question is answered here first: a widget carrying a list object of ours
// gets it, any other what the class gave before. The class's old answer is kept on its type.
constexpr char kListKey[] = "lq-list-accessible";
constexpr char kOriginalKey[] = "lq-get-accessible-before";

struct AccessibleGetter {
  AtkObject* (*get)(GtkWidget*);
};

AtkObject* GetAccessible(GtkWidget* widget) {
  if (gpointer ours = g_object_get_data(G_OBJECT(widget), kListKey)) return ATK_OBJECT(ours);
  const GQuark key = g_quark_from_static_string(kOriginalKey);
  // A class derived after the hook inherits it; the answer before is its parent's.
  for (GType type = G_OBJECT_TYPE(widget); type != 0; type = g_type_parent(type)) {
    if (auto* before = static_cast<AccessibleGetter*>(g_type_get_qdata(type, key))) {
      return before->get(widget);
    }
  }
  return nullptr;
}

void HookAccessibleOf(GtkWidgetClass* klass) {
  if (klass->get_accessible == GetAccessible) return;
  // Made once a class, for the life of the program, as GTK's own class data is.
  g_type_set_qdata(G_TYPE_FROM_CLASS(klass), g_quark_from_static_string(kOriginalKey),
                   new AccessibleGetter{klass->get_accessible});
  klass->get_accessible = GetAccessible;
}

void OnWidgetDestroyed(GtkWidget*, gpointer data) {
  gtk_accessible_set_widget(GTK_ACCESSIBLE(data), nullptr);
}

}  // namespace

std::unique_ptr<ListReader> AttachListReader(void* widget, AccessibleRows& rows) {
  if (widget == nullptr) return nullptr;
  auto* gtk_widget = static_cast<GtkWidget*>(widget);
  if (GTK_IS_SCROLLED_WINDOW(gtk_widget)) {
    if (GtkWidget* inner = gtk_bin_get_child(GTK_BIN(gtk_widget))) gtk_widget = inner;
  }
  HookAccessibleOf(GTK_WIDGET_GET_CLASS(gtk_widget));
  LqListAccessible* list =
      AsList(g_object_new(lq_list_accessible_get_type(), "widget", gtk_widget, nullptr));
  atk_object_initialize(ATK_OBJECT(list), gtk_widget);
  // The widget holds this reference; GTK does not know the object, so it is cut loose from
  // the widget here when that goes.
  g_object_set_data_full(G_OBJECT(gtk_widget), kListKey, list, g_object_unref);
  g_signal_connect(gtk_widget, "destroy", G_CALLBACK(OnWidgetDestroyed), list);
  return std::make_unique<GtkListReader>(gtk_widget, list, rows);
}

}  // namespace lq
