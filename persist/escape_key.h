#pragma once

#include <optional>
#include <string_view>

#include "engine/escape.h"
#include "persist/profile_document.h"

namespace lq {

// The kind the "Escape" key names, its word matched ignoring case; None when the key is
// absent or names no kind, so files from before the key, or from a newer program, still load.
EscapeKind ReadEscapeKey(const ProfileDocument& doc, std::string_view section);
// The same for the key's stored word, as ProfileDocument::FindAll gives it.
EscapeKind EscapeKindOfKey(std::optional<std::string_view> word);

}  // namespace lq
