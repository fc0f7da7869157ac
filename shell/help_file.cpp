#include "shell/help_file.h"

#include <filesystem>
#include <system_error>

#include "shell/shell_context.h"

#ifndef LQ_INSTALLED_HELP
#define LQ_INSTALLED_HELP "../../share/help/C/loomquill/"
#endif

namespace lq {

std::string InstalledHelpFolder(const std::string& program_folder) {
  return std::filesystem::path(program_folder + LQ_INSTALLED_HELP).lexically_normal().string();
}

std::string HelpFile(const std::string& program_folder) {
  const std::string beside = program_folder + kHelpFileName;
  const std::string installed = InstalledHelpFolder(program_folder) + kHelpFileName;
  std::error_code ec;
  if (std::filesystem::is_regular_file(beside, ec)) return beside;
  if (std::filesystem::is_regular_file(installed, ec)) return installed;
  return beside;
}

}  // namespace lq
