#pragma once

#include <string>
#include <vector>

#include "platform/desktop_launcher.h"

// What DesktopLauncher asks of the system; each kind of system has its own file
// (desktop_launcher_posix.cpp).
namespace lq::launcher_system {

// A regular file this process may execute.
bool IsExecutableFile(const std::string& name);
bool Exists(const std::string& name);

// The folders programs are looked for in (PATH), as one list.
std::string ProgramSearchPath();

// The desktop's applications for plain text, its default first, as GIO lists them.
std::vector<DesktopHandler> TextHandlers();

// The value of an environment variable, empty when unset.
std::string Environment(const char* name);

// Opens file with the desktop application of this desktop file id, as a file manager does.
bool LaunchDesktopApp(const std::string& desktop_id, const std::string& file);

// Starts command[0], a full program name, with the rest as its arguments, and does not wait.
bool StartDetached(const std::vector<std::string>& command);

}  // namespace lq::launcher_system
