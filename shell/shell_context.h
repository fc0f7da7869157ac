#pragma once

#include <filesystem>
#include <string>

#include "engine/path_style.h"
#include "platform/services.h"

namespace lq {

// What the window takes from outside: the platform services and where its files are.
struct ShellContext {
  Services services;
  std::filesystem::path settings_file;   // ZQIni.ini
  std::string program_folder;            // with a trailing separator: templates and help
  std::filesystem::path user_templates;  // the user's own templates, beside the shipped
  PathStyle style = HostPathStyle();
  Eol eol = NativeEol();
};

inline constexpr const char* kAppCaption = "Halvorn Loomquill";
inline constexpr const char* kHelpFileName = "Weftbook.html";
// Loomquill's home page, which "Connect to WEB page" opens.
inline constexpr const char* kHomeAddress = "https://github.com/loomquill/loomquill";

}  // namespace lq
