#pragma once

namespace lq {

// The width GTK gives a popup menu, known before the menu pops up.

// The natural width of menu (a GtkMenu*: wxMenu::m_menu on wxGTK), or 0 when menu is null
// or asks for no room.
int MenuNaturalWidth(void* menu);

}  // namespace lq
