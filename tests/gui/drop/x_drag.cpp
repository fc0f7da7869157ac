#include "tests/gui/drop/x_drag.h"

#include <wx/app.h>
#include <wx/display.h>
#include <wx/utils.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace lq::test {

bool PumpUntil(const std::function<bool()>& done, int timeout_ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    wxTheApp->Yield(true);
    wxTheApp->ProcessIdle();
    wxMilliSleep(5);
  }
  return true;
}

std::string Capture(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
    pclose(pipe);
  }
  return out;
}

bool XDrag(const std::vector<std::string>& names, const wxPoint& to,
           const std::function<void()>& after_release) {
  const char* source_dir = std::getenv("LQ_SOURCE_DIR");
  if (source_dir == nullptr) return false;
  const std::string list = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                           "/lq-drag-" + std::to_string(getpid()) + ".txt";
  {
    std::ofstream out(list);
    for (const std::string& name : names) out << name << '\n';
  }
  // In a corner away from the window, so the drag crosses the screen.
  const wxRect screen = wxDisplay(0u).GetGeometry();
  const wxPoint from(screen.GetRight() - 40, screen.GetBottom() - 30);
  std::ostringstream start;
  start << "/usr/bin/python3 " << source_dir << "/tests/gui/drop/drag_source.py " << from.x - 30
        << ' ' << from.y - 20 << " '" << list << "' >/dev/null 2>&1 &";
  if (std::system(start.str().c_str()) != 0) return false;
  const bool up = PumpUntil(
      [] {
        return !Capture("xdotool search --onlyvisible --name '^lq-drag-source$' 2>/dev/null")
                    .empty();
      },
      10000);
  if (!up) return false;
  PumpUntil([] { return false; }, 300);  // the source settles before the press

  std::ostringstream drag;
  drag << "xdotool mousemove " << from.x << ' ' << from.y << " sleep 0.2 mousedown 1";
  constexpr int kSteps = 12;
  for (int i = 1; i <= kSteps; ++i) {
    const int x = from.x + (to.x - from.x) * i / kSteps;
    const int y = from.y + (to.y - from.y) * i / kSteps;
    drag << " sleep 0.05 mousemove " << x << ' ' << y;
  }
  // A last small move over the target, so it has seen the pointer there before the drop.
  drag << " sleep 0.2 mousemove " << to.x << ' ' << to.y + 1 << " sleep 0.1 mousemove " << to.x
       << ' ' << to.y << " sleep 0.3 mouseup 1";
  std::atomic<bool> finished{false};
  std::thread hand([&] {
    std::system(drag.str().c_str());
    if (after_release) after_release();
    finished = true;
  });
  PumpUntil([&] { return finished.load(); }, 30000);
  hand.join();
  // The source ends a moment after its drag.
  PumpUntil(
      [] {
        return Capture("xdotool search --onlyvisible --name '^lq-drag-source$' 2>/dev/null")
            .empty();
      },
      5000);
  std::remove(list.c_str());
  return true;
}

}  // namespace lq::test
