// Preloaded into the real window by its end-to-end tests, which cannot read a message box:
// appends the text of each GTK message box to $LQ_SPY_MESSAGES, one line break after each,
// and with $LQ_SPY_HOLD set stops the process (SIGSTOP) at its first write to one of
// Loomquill's temporary files, so that a test may signal it in the middle of a write.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

bool IsTempOfOurs(int fd) {
  char name[4096];
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  const ssize_t got = ::readlink(link.c_str(), name, sizeof name - 1);
  if (got <= 0) return false;
  const std::string_view path(name, static_cast<std::size_t>(got));
  const std::string_view base = path.substr(path.rfind('/') + 1);
  return base.starts_with(".lq-") && base.ends_with(".tmp");
}

bool held = false;

}  // namespace

extern "C" {

using WriteFn = ssize_t (*)(int, const void*, size_t);
ssize_t write(int fd, const void* data, size_t size) {
  static const auto real = reinterpret_cast<WriteFn>(::dlsym(RTLD_NEXT, "write"));
  if (!held && std::getenv("LQ_SPY_HOLD") != nullptr && IsTempOfOurs(fd)) {
    held = true;
    std::raise(SIGSTOP);
  }
  return real(fd, data, size);
}

// GtkWidget* gtk_message_dialog_new(GtkWindow*, GtkDialogFlags, GtkMessageType,
//                                   GtkButtonsType, const gchar* format, ...)
using MessageDialogFn = void* (*)(void*, int, int, int, const char*, ...);
void* gtk_message_dialog_new(void* parent, int flags, int type, int buttons, const char* format,
                             ...) {
  static const auto real =
      reinterpret_cast<MessageDialogFn>(::dlsym(RTLD_NEXT, "gtk_message_dialog_new"));
  std::string text;
  if (format != nullptr) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int size = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (size > 0) {
      text.resize(static_cast<std::size_t>(size) + 1);
      std::vsnprintf(text.data(), text.size(), format, again);
      text.resize(static_cast<std::size_t>(size));
    }
    va_end(again);
  }
  if (const char* log = std::getenv("LQ_SPY_MESSAGES")) {
    const int fd = ::open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd >= 0) {
      const std::string line = text + '\n';
      static_cast<void>(write(fd, line.data(), line.size()));
      ::close(fd);
    }
  }
  return format == nullptr ? real(parent, flags, type, buttons, nullptr)
                           : real(parent, flags, type, buttons, "%s", text.c_str());
}

}  // extern "C"
