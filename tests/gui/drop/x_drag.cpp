#include "tests/gui/drop/x_drag.h"

#include <wx/app.h>
#include <wx/display.h>
#include <wx/utils.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "platform/compositor.h"
#include "tests/gui/wayland/weston_scene.h"

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

namespace {

constexpr const char* kSourceTitle = "lq-drag-source";
const wxSize kSourceSize(60, 40);

// Starts drag_source.py with the names in list_file; its pid, or empty.
std::string StartSource(const std::string& source_dir, const wxPoint& at,
                        const std::string& list_file) {
  std::ostringstream start;
  start << "/usr/bin/python3 " << source_dir << "/tests/gui/drop/drag_source.py " << at.x << ' '
        << at.y << " '" << list_file << "' >/dev/null 2>&1 & echo $!";
  std::string pid = Capture(start.str());
  while (!pid.empty() && pid.back() == '\n') pid.pop_back();
  return pid;
}

// Where the source window is shown now, if it is.
std::optional<wxRect> SourceRect() {
  if (OnWayland()) {
    const std::optional<wxPoint> view = WestonViewOf(kSourceTitle);
    if (!view) return std::nullopt;
    return wxRect(*view, kSourceSize);
  }
  if (Capture(std::string("xdotool search --onlyvisible --name '^") + kSourceTitle +
              "$' 2>/dev/null")
          .empty()) {
    return std::nullopt;
  }
  const wxRect screen = wxDisplay(0u).GetGeometry();
  return wxRect(screen.GetRight() - 70, screen.GetBottom() - 50, kSourceSize.x, kSourceSize.y);
}

// Where the source window is shown, once it is; nothing after 10 s.
std::optional<wxRect> SourceShown() {
  std::optional<wxRect> shown;
  PumpUntil([&] { return (shown = SourceRect()).has_value(); }, 10000);
  return shown;
}

// A drag source up and clear of the drop point, in a corner away from the window under X11
// so the drag crosses the screen; under Wayland the compositor places it where it likes, so
// one that covers the drop point makes way for a new one.
std::optional<wxRect> SourceClearOf(const wxPoint& to, const std::string& source_dir,
                                    const std::string& list_file) {
  const wxRect screen = wxDisplay(0u).GetGeometry();
  for (int attempt = 0; attempt < 10; ++attempt) {
    const std::string pid = StartSource(
        source_dir, wxPoint(screen.GetRight() - 70, screen.GetBottom() - 50), list_file);
    if (pid.empty()) return std::nullopt;
    const std::optional<wxRect> shown = SourceShown();
    if (shown && !wxRect(*shown).Inflate(10).Contains(to)) return shown;
    std::system(("kill " + pid + " 2>/dev/null").c_str());
    PumpUntil([] { return !SourceRect(); }, 2000);
  }
  return std::nullopt;
}

std::string Xdotool() { return OnWayland() ? WestonXdotool() : "xdotool"; }

}  // namespace

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
  const std::optional<wxRect> source = SourceClearOf(to, source_dir, list);
  if (!source) return false;
  const wxPoint from = source->GetPosition() + wxPoint(kSourceSize.x / 2, kSourceSize.y / 2);
  PumpUntil([] { return false; }, 300);  // the source settles before the press

  std::ostringstream drag;
  drag << Xdotool() << " mousemove " << from.x << ' ' << from.y << " sleep 0.2 mousedown 1";
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
  PumpUntil([] { return !SourceRect(); }, 5000);
  std::remove(list.c_str());
  return true;
}

}  // namespace lq::test
