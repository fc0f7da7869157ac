#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lq {

// Where the settings file lives: $XDG_CONFIG_HOME/loomquill/ZQIni.ini, with
// XDG_CONFIG_HOME defaulting to ~/.config.
std::filesystem::path SettingsFilePath();

// Where the user's own templates live: $XDG_DATA_HOME/loomquill/templates, with
// XDG_DATA_HOME defaulting to ~/.local/share. The program's folder may be read-only and
// belongs to the package, so templates the user saves go here.
std::filesystem::path UserTemplateFolder();

// The user's desktop folder as xdg-user-dir DESKTOP reports it, else ~/Desktop.
std::filesystem::path DesktopFolder();

// The output file a fresh start writes: ZQScript.txt on the desktop, or in the home folder
// when the desktop folder does not exist.
std::string DefaultOutputFile();

// XDG_DESKTOP_DIR as set by the text of a user-dirs.dirs file, "$HOME" expanded; empty
// when the text does not set it to an absolute folder.
std::string DesktopFromUserDirs(std::string_view text, std::string_view home);

}  // namespace lq
