#include "platform/gtk_accessible.h"

#include <gtk/gtk.h>

namespace lq {
namespace {

using Speller = std::function<std::string(const std::string&)>;

void Describe(GtkWidget* widget, AccessibleRole role, const std::string& name,
              const std::string& description) {
  AtkObject* accessible = gtk_widget_get_accessible(widget);
  if (accessible == nullptr) return;
  if (role == AccessibleRole::kList) atk_object_set_role(accessible, ATK_ROLE_LIST);
  if (!name.empty()) atk_object_set_name(accessible, name.c_str());
  if (!description.empty()) atk_object_set_description(accessible, description.c_str());
}

std::string TooltipOf(GtkWidget* widget) {
  gchar* tip = gtk_widget_get_tooltip_text(widget);
  std::string text = tip != nullptr ? tip : "";
  g_free(tip);
  // The first line is the name; further lines only say more.
  return text.substr(0, text.find('\n'));
}

void Spell(GtkWidget* widget, const Speller& spelled, const std::string& fallback);

void SpellChild(GtkWidget* child, gpointer data) {
  Spell(child, *static_cast<const Speller*>(data), std::string());
}

void Spell(GtkWidget* widget, const Speller& spelled, const std::string& fallback) {
  AtkObject* accessible = gtk_widget_get_accessible(widget);
  std::string tip = TooltipOf(widget);
  if (tip.empty()) tip = fallback;
  if (accessible != nullptr) {
    const gchar* current = atk_object_get_name(accessible);
    const std::string name = current != nullptr && *current != '\0' ? current : tip;
    const std::string right = spelled(name);
    if (!right.empty() && right != (current != nullptr ? current : "")) {
      atk_object_set_name(accessible, right.c_str());
    }
  }
  if (GTK_IS_MENU_ITEM(widget)) {
    if (GtkWidget* submenu = gtk_menu_item_get_submenu(GTK_MENU_ITEM(widget))) {
      Spell(submenu, spelled, std::string());
    }
  }
  if (!GTK_IS_CONTAINER(widget)) return;
  if (GTK_IS_TOOL_ITEM(widget)) {
    // A tool item's button has the item's tooltip but none of its own.
    if (GtkWidget* child = gtk_bin_get_child(GTK_BIN(widget))) Spell(child, spelled, tip);
    return;
  }
  gtk_container_forall(GTK_CONTAINER(widget), SpellChild,
                       const_cast<void*>(static_cast<const void*>(&spelled)));
}

GtkToolbar* ToolbarIn(GtkWidget* widget) {
  if (GTK_IS_TOOLBAR(widget)) return GTK_TOOLBAR(widget);
  if (!GTK_IS_CONTAINER(widget)) return nullptr;
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  GtkToolbar* found = nullptr;
  for (GList* c = children; c != nullptr && found == nullptr; c = c->next) {
    found = ToolbarIn(static_cast<GtkWidget*>(c->data));
  }
  g_list_free(children);
  return found;
}

}  // namespace

void NameTool(void* widget, int position, const std::string& name) {
  if (widget == nullptr || name.empty()) return;
  GtkToolbar* bar = ToolbarIn(static_cast<GtkWidget*>(widget));
  if (bar == nullptr || position < 0 || position >= gtk_toolbar_get_n_items(bar)) return;
  GtkToolItem* item = gtk_toolbar_get_nth_item(bar, position);
  Describe(GTK_WIDGET(item), AccessibleRole::kAsIs, name, std::string());
  if (GtkWidget* child = gtk_bin_get_child(GTK_BIN(item))) {
    Describe(child, AccessibleRole::kAsIs, name, std::string());
  }
}

void SetAccessible(void* widget, AccessibleRole role, const std::string& name,
                   const std::string& description) {
  if (widget == nullptr) return;
  auto* gtk_widget = static_cast<GtkWidget*>(widget);
  GtkWidget* inner =
      GTK_IS_SCROLLED_WINDOW(gtk_widget) ? gtk_bin_get_child(GTK_BIN(gtk_widget)) : nullptr;
  // A multi-line field or a scrolled list: the reader lands on the widget inside, and the
  // scroll pane around it keeps its own role.
  Describe(gtk_widget, inner != nullptr ? AccessibleRole::kAsIs : role, name, description);
  if (inner != nullptr) Describe(inner, role, name, description);
}

void SpellAccessibleNames(void* widget, const Speller& spelled) {
  if (widget != nullptr) Spell(static_cast<GtkWidget*>(widget), spelled, std::string());
}

}  // namespace lq
