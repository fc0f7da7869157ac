#pragma once

#include <functional>
#include <string>

namespace lq {

// What assistive technology (ATK, read over AT-SPI) is told about a widget Loomquill shows.

enum class AccessibleRole { kAsIs, kList };

// Gives widget (a GtkWidget*, as wxWindow::GetHandle gives it) and, for a scrolled window,
// the widget inside it the role and, where not empty, the name and description. Does
// nothing when widget is null.
void SetAccessible(void* widget, AccessibleRole role, const std::string& name,
                   const std::string& description);

// Names the tool at position (separators count) of the tool bar widget is or holds, and the
// button inside it; does nothing when there is no such tool or name is empty.
void NameTool(void* widget, int position, const std::string& name);

// Names every widget inside widget, itself included, through spelled: the name it has, or
// the tooltip of one that has none (the tool bar's buttons), goes through spelled and is
// set where that changes it; a menu item's submenu is walked too.
void SpellAccessibleNames(void* widget,
                          const std::function<std::string(const std::string&)>& spelled);

}  // namespace lq
