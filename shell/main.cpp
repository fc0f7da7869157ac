// The entry point: a start with files while Loomquill runs hands them to it and ends once the
// window has taken them; any other start opens a window of its own.
#include <wx/app.h>
#include <wx/log.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "about/about_text.h"
#include "about/program_text.h"
#include "engine/atomic_file.h"
#include "engine/capacities.h"
#include "engine/escape.h"
#include "platform/hand_over_folder.h"
#include "platform/hand_over_message.h"
#include "platform/readable_name.h"
#include "platform/single_instance.h"
#include "shell/my_app.h"
#include "shell/start_options.h"

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

// Prints the help or the version without opening a window; a full or closed standard output
// fails, as it does for GNU programs.
int PrintAndExit(const std::string& text) {
  const lq::Status put = lq::PutStandardOutput(text);
  if (put.ok()) return 0;
  std::fprintf(stderr, "loomquill: %s\n", put.failure().Describe().c_str());
  return kRefused;
}

}  // namespace

int main(int argc, char** argv) {
  const lq::StartOptions options = lq::ReadStartOptions(argc, argv);
  if (options.help || options.version) lq::UseProgramLocale();
  if (options.help) return PrintAndExit(lq::StartHelpText());
  if (options.version) return PrintAndExit(lq::VersionText("loomquill"));
  // Every file of the start, in the order given; the receiver gets each as an absolute name.
  std::vector<std::string> pending;
  bool refused = false;
  for (const std::string& argument : options.files) {
    std::error_code ec;
    const std::filesystem::path given(argument);
    const std::filesystem::path absolute = std::filesystem::absolute(given, ec);
    std::string name = (ec ? given : absolute.lexically_normal()).string();
    if (name.empty()) {
      std::fprintf(stderr, "loomquill: an empty file name; Loomquill cannot take it\n");
      refused = true;
      continue;
    }
    if (name.size() > lq::kNameMax) {
      std::fprintf(stderr,
                   "loomquill: %s: the name is %zu bytes long; Loomquill takes at most %zu\n",
                   argument.c_str(), name.size(), lq::kNameMax);
      refused = true;
      continue;
    }
    if (!lq::IsValidUtf8(name)) {
      // Still handed on, so that the window, which is what a file manager's user sees, says so.
      std::fprintf(stderr, "loomquill: %s: the name is not valid UTF-8; Loomquill cannot take it\n",
                   lq::ReadableName(name).c_str());
      refused = true;
    }
    pending.push_back(std::move(name));
  }
  if (pending.size() > lq::kHandOverNamesMax) {
    std::fprintf(stderr, "loomquill: %zu files; Loomquill takes at most %zu at once\n",
                 pending.size(), lq::kHandOverNamesMax);
    return kRefused;
  }
  // Given files, none of which can be taken: nothing to open a window for.
  if (!options.files.empty() && pending.empty()) return kRefused;
  // Decided before the toolkit starts, so that starts at the same moment find each other.
  lq::InstanceStart start =
      lq::StartInstance(lq::HandOverFolders(), pending.empty() ? nullptr : &pending,
                        lq::kInstancePatience, ActivationToken());
  if (start.role == lq::InstanceStart::Role::kUnanswered) {
    std::fprintf(stderr, "loomquill: %s\n", start.notes.c_str());
    return kRefused;
  }
  if (!start.notes.empty()) {
    std::fprintf(stderr, "loomquill: hand-over folder passed over:\n%s\n", start.notes.c_str());
  }
  if (start.role == lq::InstanceStart::Role::kHandedOver) {
    return refused ? kRefused : kHandedOver;
  }
  // Create past `ulimit -f` then fails with EFBIG and says so instead of killing the window,
  // and a kill while it writes leaves no temporary file behind.
  lq::RemoveTemporaryFilesOnSignals();
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  wxApp::SetInstance(new lq::TMyApp(std::move(pending), std::move(start.listener), start.notes));
  // The toolkit's own messages go to standard error: a message box for them could outlive
  // the display at exit.
  delete wxLog::SetActiveTarget(new wxLogStderr);
  // The toolkit sees no file argument: a name must never be taken for one of its options.
  int wx_argc = 1;
  return wxEntry(wx_argc, argv);
}
