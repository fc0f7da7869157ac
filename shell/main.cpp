// The entry point: a start with a file while Loomquill runs hands the file to it and ends;
// any other start opens a window of its own.
#include <wx/app.h>
#include <wx/log.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/capacities.h"
#include "platform/hand_over_channel.h"
#include "shell/my_app.h"

namespace {

constexpr int kHandedOver = 255;  // what the forwarding process ends with (-1)

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
      return 1;
    }
    std::string error;
    switch (lq::SendHandOver(lq::HandOverSocketPath(), pending, &error)) {
      case lq::HandOverSend::kSent:
        return kHandedOver;
      case lq::HandOverSend::kNoInstance:
        break;
      case lq::HandOverSend::kFailed:
        std::fprintf(stderr, "loomquill: cannot reach the running Loomquill: %s\n", error.c_str());
        break;
    }
  }
  wxApp::SetInstance(new lq::TMyApp(pending));
  // The toolkit's own messages go to standard error: a message box for them could outlive
  // the display at exit.
  delete wxLog::SetActiveTarget(new wxLogStderr);
  // The toolkit sees no file argument: a name must never be taken for one of its options.
  int wx_argc = 1;
  return wxEntry(wx_argc, argv);
}
