#include "platform/readable_name.h"

#include <cstdio>

#include "engine/escape.h"

namespace lq {

std::string ReadableName(std::string_view name) {
  if (IsValidUtf8(name)) return std::string(name);
  std::string out;
  out.reserve(name.size() + 16);
  for (std::size_t i = 0; i < name.size();) {
    const auto lead = static_cast<unsigned char>(name[i]);
    const std::size_t size = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (i + size <= name.size() && IsValidUtf8(name.substr(i, size))) {
      out.append(name.substr(i, size));
      i += size;
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", lead);
      out += hex;
      ++i;
    }
  }
  return out;
}

}  // namespace lq
