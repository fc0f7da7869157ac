#include "platform/gtk_menu_width.h"

#include <gtk/gtk.h>

namespace lq {

int MenuNaturalWidth(void* menu) {
  if (menu == nullptr) return 0;
  auto* widget = static_cast<GtkWidget*>(menu);
  // A hidden widget asks for no room, so the menu is shown first; its window stays unmapped
  // until it pops up.
  gtk_widget_show(widget);
  int minimum = 0;
  int natural = 0;
  gtk_widget_get_preferred_width(widget, &minimum, &natural);
  return natural;
}

}  // namespace lq
