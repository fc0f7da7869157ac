#include "engine/path_text.h"

namespace lq {

std::filesystem::path ToPath(std::string_view name) {
#ifdef _WIN32
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
#else
  return std::filesystem::path(std::string(name));
#endif
}

std::string ToText(const std::filesystem::path& path) {
#ifdef _WIN32
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
#else
  return path.native();
#endif
}

}  // namespace lq
