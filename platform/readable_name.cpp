#include "platform/readable_name.h"

#include <cstdio>

#include "engine/text_helpers.h"

namespace lq {

std::string ReadableName(std::string_view name) {
  return ShowInvalidBytes(name, [](unsigned char byte) {
    char hex[5];
    std::snprintf(hex, sizeof hex, "\\x%02X", byte);
    return std::string(hex);
  });
}

}  // namespace lq
