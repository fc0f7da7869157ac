// The entry point: a start with a file while Loomquill runs hands the file to it and ends;
// any other start opens a window of its own.
#include <wx/app.h>
#include <wx/log.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/atomic_file.h"
#include "engine/capacities.h"
#include "engine/escape.h"
#include "platform/hand_over_folder.h"
#include "platform/hand_over_message.h"
#include "platform/readable_name.h"
#include "platform/single_instance.h"
#include "shell/my_app.h"

namespace {

constexpr int kHandedOver = 255;  // what the forwarding process ends with (-1)
constexpr int kRefused = 1;

// The token a file manager gives the programs it starts, so that under Wayland the window
// that gets the file may take the focus; older GLib hands it over as DESKTOP_STARTUP_ID.
std::string ActivationToken() {
  for (const char* variable : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && lq::IsActivationToken(value)) return value;
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  std::string pending;
  if (argc > 1) {
    // Only the first argument counts; the receiver gets it as an absolute name.
    std::error_code ec;
    const std::filesystem::path given(argv[1]);
    const std::filesystem::path absolute = std::filesystem::absolute(given, ec);
    pending = (ec ? given : absolute.lexically_normal()).string();
    if (pending.size() > lq::kNameMax) {
      std::fprintf(stderr,
                   "loomquill: %s: the name is %zu bytes long; Loomquill takes at most %zu\n",
                   argv[1], pending.size(), lq::kNameMax);
      return kRefused;
    }
  }
  const bool showable = lq::IsValidUtf8(pending);
  if (!showable) {
    // Still handed on, so that the window, which is what a file manager's user sees, says so.
    std::fprintf(stderr, "loomquill: %s: the name is not valid UTF-8; Loomquill cannot take it\n",
                 lq::ReadableName(pending).c_str());
  }
  // Decided before the toolkit starts, so that starts at the same moment find each other.
  lq::InstanceStart start = lq::StartInstance(lq::HandOverFolders(), argc > 1 ? &pending : nullptr,
                                              lq::kInstancePatience, ActivationToken());
  if (!start.notes.empty()) {
    std::fprintf(stderr, "loomquill: hand-over folder passed over:\n%s\n", start.notes.c_str());
  }
  if (start.role == lq::InstanceStart::Role::kHandedOver) {
    return showable ? kHandedOver : kRefused;
  }
  // Create past `ulimit -f` then fails with EFBIG and says so instead of killing the window,
  // and a kill while it writes leaves no temporary file behind.
  lq::RemoveTemporaryFilesOnSignals();
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  wxApp::SetInstance(new lq::TMyApp(pending, std::move(start.listener), start.notes));
  // The toolkit's own messages go to standard error: a message box for them could outlive
  // the display at exit.
  delete wxLog::SetActiveTarget(new wxLogStderr);
  // The toolkit sees no file argument: a name must never be taken for one of its options.
  int wx_argc = 1;
  return wxEntry(wx_argc, argv);
}
