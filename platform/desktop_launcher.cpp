#include "platform/desktop_launcher.h"

#include <wx/utils.h>

#include <utility>

#include "platform/app_id.h"
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

bool IsLoomquill(const DesktopHandler& handler) {
  if (handler.id == std::string(AppId()) + ".desktop" || handler.id == "loomquill.desktop") {
    return true;
  }
  const std::string& exe = handler.executable;
  const auto slash = exe.rfind('/');
  return (slash == std::string::npos ? exe : exe.substr(slash + 1)) == "loomquill";
}

std::vector<std::string> InTerminal(
    const std::vector<std::string>& command,
    const std::function<std::optional<std::string>(const std::string&)>& find_program) {
  // Each terminal with the option after which the rest is the command and its arguments.
  static const std::vector<std::pair<std::string, std::string>> terminals = {
      {"xdg-terminal-exec", ""},
      {"x-terminal-emulator", "-e"},
      {"gnome-terminal", "--"},
      {"konsole", "-e"},
      {"xfce4-terminal", "-x"},
      {"mate-terminal", "-x"},
      {"lxterminal", "-e"},
      {"qterminal", "-e"},
      {"tilix", "-e"},
      {"terminator", "-x"},
      {"alacritty", "-e"},
      {"kitty", ""},
      {"foot", ""},
      {"xterm", "-e"}};
  for (const auto& [name, option] : terminals) {
    if (auto found = find_program(name)) {
      std::vector<std::string> argv{*found};
      if (!option.empty()) argv.push_back(option);
      argv.insert(argv.end(), command.begin(), command.end());
      return argv;
    }
  }
  return {};
}

namespace {

// $VISUAL or $EDITOR as a command: the whole value when it names a program (a name with
// blanks), else its words, the first naming the program.
std::vector<std::string> EditorWords(
    const std::string& value,
    const std::function<std::optional<std::string>(const std::string&)>& find_program) {
  if (value.empty()) return {};
  std::vector<std::string> words;
  if (auto whole = find_program(value)) {
    words.push_back(*whole);
    return IsLoomquill({"", *whole}) ? std::vector<std::string>{} : words;
  }
  std::size_t at = 0;
  while ((at = value.find_first_not_of(" \t", at)) != std::string::npos) {
    const auto end = value.find_first_of(" \t", at);
    words.push_back(value.substr(at, end == std::string::npos ? std::string::npos : end - at));
    at = end;
  }
  if (words.empty()) return {};
  auto program = find_program(words.front());
  if (!program || IsLoomquill({"", *program})) return {};
  words.front() = *program;
  return words;
}

}  // namespace

EditorChoice ChooseTextEditor(const std::string& file, const EditorSources& sources) {
  for (const DesktopHandler& handler : sources.text_handlers) {
    if (!IsLoomquill(handler)) return {handler.id, {}};
  }
  for (const std::string* value : {&sources.visual, &sources.editor}) {
    std::vector<std::string> command = EditorWords(*value, sources.find_program);
    if (command.empty()) continue;
    command.push_back(file);
    std::vector<std::string> terminal = InTerminal(command, sources.find_program);
    if (!terminal.empty()) return {{}, terminal};
  }
  for (const std::string& editor : KnownTextEditors()) {
    if (auto found = sources.find_program(editor)) return {{}, {*found, file}};
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
  const EditorChoice choice = ChooseTextEditor(
      file, {launcher_system::TextHandlers(), launcher_system::Environment("VISUAL"),
             launcher_system::Environment("EDITOR"), &FindOnPath});
  if (!choice.desktop_id.empty()) return launcher_system::LaunchDesktopApp(choice.desktop_id, file);
  return !choice.argv.empty() && StartProgram(choice.argv);
}

}  // namespace lq
