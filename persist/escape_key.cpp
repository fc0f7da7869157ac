#include "persist/escape_key.h"

#include "persist/profile_keys.h"

namespace lq {

EscapeKind ReadEscapeKey(const ProfileDocument& doc, std::string_view section) {
  return EscapeKindOfKey(doc.Find(section, keys::kEscape));
}

EscapeKind EscapeKindOfKey(std::optional<std::string_view> word) {
  if (!word) return EscapeKind::kNone;
  return EscapeKindFromWord(*word).value_or(EscapeKind::kNone);
}

}  // namespace lq
