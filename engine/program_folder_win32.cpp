#include <windows.h>

#include <filesystem>
#include <vector>

#include "engine/path_text.h"
#include "engine/program_folder.h"

namespace lq {

std::string ProgramFolder() {
  // GetModuleFileNameW cuts a long path silently: grow until the whole name fits.
  std::vector<wchar_t> name(MAX_PATH);
  for (;;) {
    const DWORD got = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (got == 0) return {};
    if (got < name.size()) {
      name.resize(got);
      break;
    }
    if (name.size() >= 32768) return {};
    name.resize(name.size() * 2);
  }
  const std::filesystem::path exe(std::wstring(name.begin(), name.end()));
  if (!exe.has_parent_path()) return {};
  std::string folder = ToText(exe.parent_path());
  if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder.push_back('\\');
  return folder;
}

}  // namespace lq
