#include "shell/escape_menu.h"

#include <wx/menu.h>

#include <array>
#include <cstddef>

#include "resources/ids.h"

namespace lq {
namespace {

// In the order of EscapeKind.
constexpr std::array<int, 9> kCommands = {ids::kEscapeNone, ids::kEscapeShell,   ids::kEscapeBatch,
                                          ids::kEscapeHtml, ids::kEscapeUrl,     ids::kEscapeCsv,
                                          ids::kEscapeJson, ids::kEscapeHtmlUrl, ids::kEscapeLine};
static_assert(kCommands.size() == kEscapeWords.size(), "one item per kind");

void CheckItem(wxMenuItem* item) {
  if (item != nullptr && item->IsCheckable() && !item->IsChecked()) item->Check(true);
}

}  // namespace

int EscapeCommand(EscapeKind kind) {
  const auto at = static_cast<std::size_t>(kind);
  return at < kCommands.size() ? kCommands[at] : kCommands[0];
}

std::optional<EscapeKind> EscapeKindOfCommand(int id) {
  for (std::size_t i = 0; i < kCommands.size(); ++i) {
    if (kCommands[i] == id) return static_cast<EscapeKind>(i);
  }
  return std::nullopt;
}

void ShowEscapeCheck(wxMenu* menu, EscapeKind kind) {
  if (menu != nullptr) CheckItem(menu->FindItem(EscapeCommand(kind)));
}

void ShowEscapeCheck(wxMenuBar* bar, EscapeKind kind) {
  if (bar != nullptr) CheckItem(bar->FindItem(EscapeCommand(kind)));
}

}  // namespace lq
