#pragma once

#include <optional>

#include "engine/escape.h"

class wxMenu;
class wxMenuBar;

namespace lq {

// The command of the "Escape names for" item that chooses kind.
int EscapeCommand(EscapeKind kind);
// The kind an item of "Escape names for" chooses; nothing for any other command.
std::optional<EscapeKind> EscapeKindOfCommand(int id);

// Puts the check mark on kind's item, wherever the menu (or a sub-menu of it) holds one.
void ShowEscapeCheck(wxMenu* menu, EscapeKind kind);
void ShowEscapeCheck(wxMenuBar* bar, EscapeKind kind);

}  // namespace lq
