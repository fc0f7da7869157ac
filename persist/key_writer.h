#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "persist/profile_document.h"

namespace lq {

// Writes keys of one section in order, going on past a value that cannot be stored so
// that one bad value does not cost the others.
class KeyWriter {
 public:
  KeyWriter(ProfileDocument& document, std::string_view section)
      : document_(document), section_(section) {}

  void Text(std::string_view key, std::string_view value);
  void Int(std::string_view key, std::int32_t value);

  // Why keys were not stored, naming them; empty when every key was.
  std::string Refused() const;

 private:
  ProfileDocument& document_;
  std::string section_;
  std::string refused_;
};

}  // namespace lq
