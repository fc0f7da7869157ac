#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wx/arrstr.h>
#include <wx/utils.h>

#include <algorithm>
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

std::vector<DesktopHandler> TextHandlers() {
  std::vector<DesktopHandler> handlers;
  const auto add = [&handlers](GAppInfo* app) {
    if (app == nullptr) return;
    const char* id = g_app_info_get_id(app);
    const char* exe = g_app_info_get_executable(app);
    DesktopHandler handler{id != nullptr ? id : "", exe != nullptr ? exe : ""};
    if (!handler.id.empty() &&
        std::find(handlers.begin(), handlers.end(), handler) == handlers.end()) {
      handlers.push_back(std::move(handler));
    }
  };
  GAppInfo* fallback = g_app_info_get_default_for_type("text/plain", FALSE);
  add(fallback);
  if (fallback != nullptr) g_object_unref(fallback);
  GList* all = g_app_info_get_all_for_type("text/plain");
  for (GList* item = all; item != nullptr; item = item->next) add(G_APP_INFO(item->data));
  g_list_free_full(all, g_object_unref);
  return handlers;
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

bool LaunchDesktopApp(const std::string& desktop_id, const std::string& file) {
  GDesktopAppInfo* app = g_desktop_app_info_new(desktop_id.c_str());
  if (app == nullptr) return false;
  GFile* target = g_file_new_for_path(file.c_str());
  GList files{target, nullptr, nullptr};
  GError* error = nullptr;
  const bool started = g_app_info_launch(G_APP_INFO(app), &files, nullptr, &error) != FALSE;
  if (error != nullptr) g_error_free(error);
  g_object_unref(target);
  g_object_unref(app);
  return started;
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
