#include "persist/escape_key.h"

#include "persist/profile_keys.h"

namespace lq {

EscapeKind ReadEscapeKey(const ProfileDocument& doc, std::string_view section) {
  const std::optional<std::string_view> word = doc.Find(section, keys::kEscape);
  if (!word) return EscapeKind::None;
  return EscapeKindFromWord(*word).value_or(EscapeKind::None);
}

}  // namespace lq
