// Times a refresh of the preview window with 100,000 items listed: composing the bounded
// preview, the whole refresh (composing and filling the text view), and then how long the
// window takes to handle what was left in its queue, a large text's rest of the view with
// it. Needs an X display.
//   bench_preview [ITEMS] [RUNS]
#include <wx/app.h>
#include <wx/textctrl.h>

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
#include "shell/main_panel.h"
#include "shell/my_window.h"
#include "shell/preview_frame.h"

namespace {

struct Stats {
  double median;
  double worst;
};

Stats Of(std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms.back()};
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 51;
  lq::bench::WindowBench bench("lq-preview-bench");
  if (!bench.Start(argv)) return 1;
  lq::ShellContext& context = bench.context();

  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    names.push_back("/home/u/Music/Artist " + std::to_string(i % 97) + "/it's track " +
                    std::to_string(i) + (i % 10 == 0 ? " Zed" : "") + ".flac");
  }

  auto* frame = new lq::TMyWindow(context);
  frame->Show();
  lq::bench::Drain();
  lq::MainPanel* dlg = frame->client();
  const wxPoint on_list =
      dlg->FindWindow(lq::ids::kFileList)->GetRect().GetTopLeft() + wxSize(5, 5);
  dlg->HandleDrop(names, on_list);
  // A copy script escaped for the shell, with variables in every text.
  dlg->settings().Escape = lq::EscapeKind::kShell;
  dlg->settings().MainHead = "#!/bin/sh\r\n# ZQ_GETCOUNT files from ZQ_PATH\r\n";
  dlg->settings().MainQueue = "echo ZQ_GETCOUNT copied, the last ZQ_NAMEZQ_EXT\r\n";
  dlg->preview().Open(dlg->initial_font());
  lq::bench::Drain();

  std::printf("preview refresh with %d items listed, %d runs each\n", count, runs);
  std::printf("%-34s %10s %10s\n", "step", "median ms", "worst ms");
  const auto row = [](const char* what, const Stats& s) {
    std::printf("%-34s %10.2f %10.2f\n", what, s.median, s.worst);
  };
  const auto measure = [&](const std::string& queue) -> bool {
    dlg->SetQueueText(queue);
    std::vector<double> compose, refresh, idle;
    for (int run = 0; run < runs; ++run) {
      // A different header each time, as typing makes it, so the view is filled anew.
      dlg->SetHeaderText(run % 2 == 0 ? "cp -- '" : "cp -p -- '");
      const auto t0 = std::chrono::steady_clock::now();
      const lq::Preview preview = dlg->ComposePreviewNow();
      const auto t1 = std::chrono::steady_clock::now();
      dlg->preview().Changed();
      const auto t2 = std::chrono::steady_clock::now();
      // A large text reaches the view in parts at idle time, until the last is in: the
      // calls after that the window's main loop would make.
      lq::bench::Drain();
      for (int round = 0; round < 1000 && dlg->preview().window()->filling(); ++round) {
        wxTheApp->ProcessPendingEvents();
        lq::bench::Drain();
      }
      const auto t3 = std::chrono::steady_clock::now();
      compose.push_back(lq::bench::Ms(t1 - t0));
      refresh.push_back(lq::bench::Ms(t2 - t1));
      idle.push_back(lq::bench::Ms(t3 - t2));
      if (preview.composed != std::min(count, lq::kPreviewItems) || preview.items != count) {
        std::fprintf(stderr, "the preview composed %d of %d items\n", preview.composed,
                     preview.items);
        return false;
      }
    }
    lq::PreviewFrame* window = dlg->preview().window();
    std::printf("-- %zu bytes shown\n", window->text().size());
    if (window->filling() ||
        window->view()->GetValue().utf8_string().size() < window->text().size()) {
      std::fprintf(stderr, "the view holds less than the preview\n");
      return false;
    }
    row("compose (engine)", Of(compose));
    row("refresh (compose and fill view)", Of(refresh));
    row("then idle (the rest of the view)", Of(idle));
    return true;
  };
  // Lines of about 100 bytes, then of about 2,500 (the folder a hundred times in a comment).
  std::string long_queue = "' '/backup/ZQ_GETSELINDEX-ZQ_NAMEZQ_EXT' #";
  for (int i = 0; i < 100; ++i) long_queue += " ZQ_PATH";
  if (!measure("' '/backup/ZQ_GETSELINDEX-ZQ_NAMEZQ_EXT'\r\n") || !measure(long_queue + "\r\n")) {
    return 1;
  }

  frame->Destroy();
  lq::bench::Drain();
  return 0;
}
