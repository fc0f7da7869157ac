#include "platform/desktop_launcher.h"

#include <sys/stat.h>
#include <unistd.h>
#include <wx/arrstr.h>
#include <wx/utils.h>

#include <cstdlib>

namespace lq {
namespace {

bool IsExecutableFile(const std::string& name) {
  struct stat st {};
  return ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(name.c_str(), X_OK) == 0;
}

bool Exists(const std::string& name) {
  struct stat st {};
  return !name.empty() && ::stat(name.c_str(), &st) == 0;
}

std::string PathEnv() {
  const char* path = std::getenv("PATH");
  return path != nullptr ? path : "";
}

std::optional<std::string> FindOnPath(const std::string& name) {
  return FindProgram(name, PathEnv());
}

// The desktop's default application for plain text, as a desktop file id, or empty.
std::string DefaultTextDesktopId() {
  const auto xdg_mime = FindOnPath("xdg-mime");
  if (!xdg_mime) return {};
  wxArrayString output;
  wxArrayString errors;
  // A fixed command line of our own: wxExecute splits it without a shell.
  const wxString command = wxString::FromUTF8(*xdg_mime) + " query default text/plain";
  if (wxExecute(command, output, errors, wxEXEC_SYNC | wxEXEC_NOEVENTS) != 0) return {};
  if (output.empty()) return {};
  return output[0].Trim().Trim(false).utf8_string();
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
    if (IsExecutableFile(name)) return name;
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
    if (IsExecutableFile(candidate)) return candidate;
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
  if (Exists(target)) return wxLaunchDefaultApplication(wxString::FromUTF8(target));
  // A bare program name starts the program, as the desktop's run dialog would.
  if (target.find('/') == std::string::npos && FindOnPath(target)) return StartProgram({target});
  return false;
}

bool DesktopLauncher::StartProgram(const std::vector<std::string>& argv) {
  if (argv.empty()) return false;
  const auto program = FindOnPath(argv[0]);
  if (!program) return false;
  // The char overload hands the bytes to the program unchanged.
  std::vector<const char*> args;
  args.reserve(argv.size() + 1);
  args.push_back(program->c_str());
  for (std::size_t i = 1; i < argv.size(); ++i) args.push_back(argv[i].c_str());
  args.push_back(nullptr);
  return wxExecute(args.data(), wxEXEC_ASYNC) > 0;
}

bool DesktopLauncher::OpenInTextEditor(const std::string& file) {
  const std::vector<std::string> command =
      TextEditorCommand(file, DefaultTextDesktopId(), &FindOnPath);
  if (!command.empty() && StartProgram(command)) return true;
  return OpenWithAssociation(file);
}

}  // namespace lq
