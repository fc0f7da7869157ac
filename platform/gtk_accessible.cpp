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

}  // namespace

void SetAccessible(void* widget, AccessibleRole role, const std::string& name,
                   const std::string& description) {
  if (widget == nullptr) return;
  auto* gtk_widget = static_cast<GtkWidget*>(widget);
  Describe(gtk_widget, role, name, description);
  if (GTK_IS_SCROLLED_WINDOW(gtk_widget)) {
    // A multi-line field or a scrolled list: the reader lands on the widget inside.
    if (GtkWidget* child = gtk_bin_get_child(GTK_BIN(gtk_widget))) {
      Describe(child, role, name, description);
    }
  }
}

void SpellAccessibleNames(void* widget, const Speller& spelled) {
  if (widget != nullptr) Spell(static_cast<GtkWidget*>(widget), spelled, std::string());
}

}  // namespace lq
