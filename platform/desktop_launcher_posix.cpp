#include <sys/stat.h>
#include <unistd.h>
#include <wx/arrstr.h>
#include <wx/utils.h>

#include <cstdlib>

#include "platform/desktop_launcher.h"
#include "platform/desktop_launcher_system.h"

namespace lq::launcher_system {

bool IsExecutableFile(const std::string& name) {
  struct stat st {};
  return ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(name.c_str(), X_OK) == 0;
}

bool Exists(const std::string& name) {
  struct stat st {};
  return !name.empty() && ::stat(name.c_str(), &st) == 0;
}

std::string ProgramSearchPath() {
  const char* path = std::getenv("PATH");
  return path != nullptr ? path : "";
}

std::string DefaultTextDesktopId() {
  const auto xdg_mime = FindProgram("xdg-mime", ProgramSearchPath());
  if (!xdg_mime) return {};
  wxArrayString output;
  wxArrayString errors;
  // A fixed command line of our own: wxExecute splits it without a shell.
  const wxString command = wxString::FromUTF8(*xdg_mime) + " query default text/plain";
  if (wxExecute(command, output, errors, wxEXEC_SYNC | wxEXEC_NOEVENTS) != 0) return {};
  if (output.empty()) return {};
  return output[0].Trim().Trim(false).utf8_string();
}

bool StartDetached(const std::vector<std::string>& command) {
  if (command.empty()) return false;
  // The char overload hands the bytes to the program unchanged.
  std::vector<const char*> args;
  args.reserve(command.size() + 1);
  for (const std::string& arg : command) args.push_back(arg.c_str());
  args.push_back(nullptr);
  return wxExecute(args.data(), wxEXEC_ASYNC) > 0;
}

}  // namespace lq::launcher_system
