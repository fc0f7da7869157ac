#pragma once

#include <string>
#include <vector>

// What DesktopLauncher asks of the system; each kind of system has its own file
// (desktop_launcher_posix.cpp).
namespace lq::launcher_system {

// A regular file this process may execute.
bool IsExecutableFile(const std::string& name);
bool Exists(const std::string& name);

// The folders programs are looked for in (PATH), as one list.
std::string ProgramSearchPath();

// The desktop's default application for plain text, as a desktop file id, or empty.
std::string DefaultTextDesktopId();

// Starts command[0], a full program name, with the rest as its arguments, and does not wait.
bool StartDetached(const std::vector<std::string>& command);

}  // namespace lq::launcher_system
