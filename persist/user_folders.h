#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lq {

// Where the settings file lives: $XDG_CONFIG_HOME/loomquill/ZQIni.ini, with
// XDG_CONFIG_HOME defaulting to ~/.config.
std::filesystem::path SettingsFilePath();

// The user's desktop folder as xdg-user-dir DESKTOP reports it, else ~/Desktop.
std::filesystem::path DesktopFolder();

// The output file a fresh start writes: ZQScript.txt on the desktop, or in the home folder
// when the desktop folder does not exist.
std::string DefaultOutputFile();

// XDG_DESKTOP_DIR as set by the text of a user-dirs.dirs file, "$HOME" expanded; empty
// when the text does not set it to an absolute folder.
std::string DesktopFromUserDirs(std::string_view text, std::string_view home);

}  // namespace lq
