#include "platform/desktop_launcher.h"

#include <wx/utils.h>

#include "platform/desktop_launcher_system.h"

namespace lq {
namespace {

std::optional<std::string> FindOnPath(const std::string& name) {
  return FindProgram(name, launcher_system::ProgramSearchPath());
}

}  // namespace

bool LooksLikeWebAddress(std::string_view text) {
  if (text.starts_with("www.") || text.starts_with("mailto:")) return true;
  const auto colon = text.find("://");
  if (colon == std::string_view::npos || colon == 0) return false;
  for (char c : text.substr(0, colon)) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '+' || c == '-' || c == '.';
    if (!ok) return false;
  }
  return true;
}

std::optional<std::string> FindProgram(const std::string& name, const std::string& path_env) {
  if (name.empty()) return std::nullopt;
  if (name.find('/') != std::string::npos) {
    if (launcher_system::IsExecutableFile(name)) return name;
    return std::nullopt;
  }
  std::size_t begin = 0;
  while (begin <= path_env.size()) {
    std::size_t end = path_env.find(':', begin);
    if (end == std::string::npos) end = path_env.size();
    // An empty entry means the current folder, as execvp reads it.
    const std::string_view folder =
        end > begin ? std::string_view(path_env).substr(begin, end - begin) : ".";
    std::string candidate;
    candidate.reserve(folder.size() + 1 + name.size());
    candidate.append(folder).append(1, '/').append(name);
    if (launcher_system::IsExecutableFile(candidate)) return candidate;
    begin = end + 1;
  }
  return std::nullopt;
}

const std::vector<std::string>& KnownTextEditors() {
  static const std::vector<std::string> editors = {
      "gnome-text-editor", "gedit",     "mousepad", "kate", "kwrite", "xed", "pluma",
      "leafpad",           "featherpad"};
  return editors;
}

std::vector<std::string> TextEditorCommand(
    const std::string& file, const std::string& default_desktop_id,
    const std::function<std::optional<std::string>(const std::string&)>& find_program) {
  if (!default_desktop_id.empty()) {
    if (auto launcher = find_program("gtk-launch")) {
      return {*launcher, default_desktop_id, file};
    }
  }
  for (const std::string& editor : KnownTextEditors()) {
    if (auto found = find_program(editor)) return {*found, file};
  }
  return {};
}

bool DesktopLauncher::OpenWithAssociation(const std::string& target) {
  if (target.empty()) return false;
  if (LooksLikeWebAddress(target)) return wxLaunchDefaultBrowser(wxString::FromUTF8(target));
  if (launcher_system::Exists(target)) {
    return wxLaunchDefaultApplication(wxString::FromUTF8(target));
  }
  // A bare program name starts the program, as the desktop's run dialog would.
  if (target.find('/') == std::string::npos && FindOnPath(target)) return StartProgram({target});
  return false;
}

bool DesktopLauncher::StartProgram(const std::vector<std::string>& argv) {
  if (argv.empty()) return false;
  const auto program = FindOnPath(argv[0]);
  if (!program) return false;
  std::vector<std::string> command = argv;
  command[0] = *program;
  return launcher_system::StartDetached(command);
}

bool DesktopLauncher::OpenInTextEditor(const std::string& file) {
  const std::vector<std::string> command =
      TextEditorCommand(file, launcher_system::DefaultTextDesktopId(), &FindOnPath);
  if (!command.empty() && StartProgram(command)) return true;
  return OpenWithAssociation(file);
}

}  // namespace lq
