// Drops 10,000 files on the main dialog's list and times it, beeps aside, and how long the
// window then takes to handle what the drop left in its queue. Needs an X display.
//   bench_drop [FILES]
#include <wx/app.h>
#include <wx/init.h>
#include <wx/listbox.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/script_settings.h"
#include "resources/ids.h"
#include "resources/resources.h"
#include "shell/base_dlg.h"
#include "shell/my_window.h"
#include "tests/gui/fakes/fake_beeper.h"
#include "tests/gui/fakes/fake_clipboard.h"
#include "tests/gui/fakes/fake_clock.h"
#include "tests/gui/fakes/fake_launcher.h"
#include "tests/gui/fakes/fake_prompts.h"

namespace {

class BenchApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

double Ms(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

void Drain() {
  while (wxTheApp->Pending()) wxTheApp->Dispatch();
  wxTheApp->ProcessIdle();
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
  namespace fs = std::filesystem;
  const fs::path home = fs::temp_directory_path() / ("lq-drop-bench-" + std::to_string(getpid()));
  fs::create_directories(home / "run");
  fs::permissions(home / "run", fs::perms::owner_all);
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_CONFIG_HOME", home.c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (home / "run").c_str(), 1);

  wxApp::SetInstance(new BenchApp);
  int wx_argc = 1;
  if (!wxEntryStart(wx_argc, argv) || !wxTheApp->CallOnInit()) return 1;
  lq::InitResources();

  lq::FakeClock clock;
  lq::FakeClipboard clipboard;
  lq::FakeLauncher launcher;
  lq::FakePrompts prompts;
  lq::FakeBeeper beeper;
  lq::ShellContext context;
  context.services = {&clock, &clipboard, &launcher, &prompts, &beeper};
  context.settings_file = home / lq::kSettingsFileName;
  context.program_folder = (home / "program/").string();

  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    names.push_back("/home/u/Music/Artist " + std::to_string(i % 97) + "/track " +
                    std::to_string(i) + ".flac");
  }

  std::printf("dropping %d files on the list, best of 3\n", count);
  std::printf("%-28s %10s %12s\n", "case", "drop ms", "then idle ms");
  for (const bool middle : {false, true}) {
    double best_drop = 1e9, best_idle = 1e9;
    for (int run = 0; run < 3; ++run) {
      auto* frame = new lq::TMyWindow(context);
      frame->Show();
      Drain();
      lq::BaseDlg* dlg = frame->client();
      if (middle) {
        std::vector<std::string> existing(names.begin(), names.begin() + 1000);
        dlg->HandleDrop(existing, dlg->FindWindow(lq::ids::kFileList)->GetRect().GetTopLeft());
        dlg->list().Select(500);
        dlg->ShowList();
      }
      const wxPoint on_list =
          dlg->FindWindow(lq::ids::kFileList)->GetRect().GetTopLeft() + wxSize(5, 5);
      const auto t0 = std::chrono::steady_clock::now();
      dlg->HandleDrop(names, on_list);
      const auto t1 = std::chrono::steady_clock::now();
      Drain();
      const auto t2 = std::chrono::steady_clock::now();
      best_drop = std::min(best_drop, Ms(t1 - t0));
      best_idle = std::min(best_idle, Ms(t2 - t1));
      if (beeper.beeps < count) std::fprintf(stderr, "missing beeps\n");
      beeper.beeps = 0;
      frame->Destroy();
      Drain();
    }
    std::printf("%-28s %10.1f %12.1f\n",
                middle ? "into 1000, after item 501" : "onto an empty list", best_drop, best_idle);
  }
  wxTheApp->OnExit();
  wxEntryCleanup();
  std::error_code ec;
  fs::remove_all(home, ec);
  return 0;
}
