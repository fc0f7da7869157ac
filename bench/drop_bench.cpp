// Drops 10,000 files on the main dialog's list and times it, and how long the window then
// takes to handle what the drop left in its queue. The drop's beeps follow on a timer, after
// the times are taken; each run checks that they all came. Needs an X display.
//   bench_drop [FILES]
#include <wx/app.h>
#include <wx/listbox.h>
#include <wx/utils.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/window_bench.h"
#include "engine/script_settings.h"
#include "resources/ids.h"
#include "shell/drop_beeps.h"
#include "shell/main_panel.h"
#include "shell/my_window.h"

namespace {

// Runs the event loop until the drop's waiting beeps have rung; false if they never do.
bool RingOut(const lq::MainPanel& dlg) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (dlg.drop_beeps().pending() > 0) {
    if (std::chrono::steady_clock::now() > end) return false;
    // Yield, not Drain: without a running loop only a yield's own loop fires timers.
    wxTheApp->Yield(true);
    wxMilliSleep(1);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
  lq::bench::WindowBench bench("lq-drop-bench");
  if (!bench.Start(argv)) return 1;
  lq::ShellContext& context = bench.context();

  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    names.push_back("/home/u/Music/Artist " + std::to_string(i % 97) + "/track " +
                    std::to_string(i) + ".flac");
  }

  std::printf("dropping %d files on the list, best of 3\n", count);
  std::printf("%-28s %10s %12s\n", "case", "drop ms", "then idle ms");
  bool beeps_ok = true;
  for (const bool middle : {false, true}) {
    double best_drop = 1e9, best_idle = 1e9;
    for (int run = 0; run < 3; ++run) {
      auto* frame = new lq::TMyWindow(context);
      frame->Show();
      lq::bench::Drain();
      lq::MainPanel* dlg = frame->client();
      if (middle) {
        std::vector<std::string> existing(names.begin(), names.begin() + 1000);
        dlg->HandleDrop(existing, dlg->FindWindow(lq::ids::kFileList)->GetRect().GetTopLeft());
        dlg->list().Select(500);
        dlg->ShowList();
        RingOut(*dlg);
      }
      bench.beeper().beeps = 0;
      const wxPoint on_list =
          dlg->FindWindow(lq::ids::kFileList)->GetRect().GetTopLeft() + wxSize(5, 5);
      const auto t0 = std::chrono::steady_clock::now();
      dlg->HandleDrop(names, on_list);
      const auto t1 = std::chrono::steady_clock::now();
      lq::bench::Drain();
      const auto t2 = std::chrono::steady_clock::now();
      best_drop = std::min(best_drop, lq::bench::Ms(t1 - t0));
      best_idle = std::min(best_idle, lq::bench::Ms(t2 - t1));
      // One beep per file, the first few of a drop at most.
      const int expected = std::min(count, lq::DropBeeps::kWaitedBeeps);
      if (!RingOut(*dlg) || bench.beeper().beeps != expected) {
        std::printf("%d beeps, expected %d\n", bench.beeper().beeps, expected);
        beeps_ok = false;
      }
      bench.beeper().beeps = 0;
      frame->Destroy();
      lq::bench::Drain();
    }
    std::printf("%-28s %10.1f %12.1f\n",
                middle ? "into 1000, after item 501" : "onto an empty list", best_drop, best_idle);
  }
  return beeps_ok ? 0 : 1;
}
