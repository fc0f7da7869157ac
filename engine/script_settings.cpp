#include "engine/script_settings.h"

#include "engine/paths.h"

namespace lq {

void ScriptSettings::SetRelPathFromOutput(PathStyle style) {
  RelPath = FolderOf(FileOutput, style);
}

std::string OneLineForm(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      out.append(" /n ");
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace lq
