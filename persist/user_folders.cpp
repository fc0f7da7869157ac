#include "persist/user_folders.h"

#include <system_error>

#include "engine/file_reader.h"
#include "engine/path_text.h"
#include "engine/script_settings.h"

namespace lq {
namespace fs = std::filesystem;

namespace {

constexpr const char* kFolderName = "loomquill";
constexpr const char* kOutputName = "ZQScript.txt";

std::string Env(const char* name) { return EnvironmentText(name).value_or(""); }

fs::path Home() {
#ifdef _WIN32
  return ToPath(Env("USERPROFILE"));
#else
  return ToPath(Env("HOME"));
#endif
}

// The XDG base folder named by variable when it is set to an absolute folder, else
// ~/<fallback> (on Windows APPDATA first).
fs::path XdgFolder(const char* variable, const fs::path& fallback) {
  const fs::path folder = ToPath(Env(variable));
  if (folder.is_absolute()) return folder;
#ifdef _WIN32
  const fs::path app_data = ToPath(Env("APPDATA"));
  if (app_data.is_absolute()) return app_data;
#endif
  return Home() / fallback;
}

fs::path ConfigHome() { return XdgFolder("XDG_CONFIG_HOME", ".config"); }

fs::path DataHome() { return XdgFolder("XDG_DATA_HOME", fs::path(".local") / "share"); }

// The shell's double-quoted word: backslash escapes the next character.
std::string Unquote(std::string_view word) {
  if (word.size() < 2 || word.front() != '"') return std::string(word);
  const std::size_t close = word.find_last_of('"');
  std::string out;
  for (std::size_t i = 1; i < close; ++i) {
    if (word[i] == '\\' && i + 1 < close) ++i;
    out += word[i];
  }
  return out;
}

}  // namespace

std::string DesktopFromUserDirs(std::string_view text, std::string_view home) {
  constexpr std::string_view kKey = "XDG_DESKTOP_DIR=";
  std::string found;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) {
      line.remove_suffix(1);
    }
    if (!line.starts_with(kKey)) continue;
    std::string value = Unquote(line.substr(kKey.size()));
    // Later lines override earlier ones, as when the shell sources the file.
    if (value.starts_with("${HOME}")) {
      found = std::string(home) + value.substr(7);
    } else if (value.starts_with("$HOME")) {
      found = std::string(home) + value.substr(5);
    } else if (value.starts_with('/')) {
      found = value;
    }
  }
  return found;
}

fs::path DesktopFolder() {
  const std::string home = ToText(Home());
  const FileBytes dirs = ReadBoundedFile(ConfigHome() / "user-dirs.dirs", 1u << 20);
  std::string desktop = DesktopFromUserDirs(dirs.bytes, home);
  if (desktop.empty()) desktop = Env("XDG_DESKTOP_DIR");
  if (desktop.empty() || !ToPath(desktop).is_absolute()) return Home() / "Desktop";
  return ToPath(desktop);
}

std::string DefaultOutputFile() {
  // A first Create must find its folder: many machines have no desktop folder.
  std::error_code ec;
  const fs::path desktop = DesktopFolder();
  const fs::path folder = fs::is_directory(desktop, ec) ? desktop : Home();
  return ToText(folder / kOutputName);
}

fs::path SettingsFilePath() { return ConfigHome() / kFolderName / kSettingsFileName; }

fs::path UserTemplateFolder() { return DataHome() / kFolderName / "templates"; }

}  // namespace lq
