#include "tests/gui/wayland/weston_scene.h"

#include <wx/toplevel.h>
#include <wx/window.h>

#include <cstdlib>
#include <regex>

#include "tests/support/run_process.h"

namespace lq::test {

std::optional<wxPoint> WestonViewOf(const std::string& title) {
  const std::string scene = RunProcess("/bin/sh", {"-c", "weston-debug scene-graph"}).out;
  const std::size_t at = scene.find("top-level window '" + title + "'");
  if (at == std::string::npos) return std::nullopt;
  static const std::regex position(R"(position: \((-?\d+), (-?\d+)\))");
  std::smatch m;
  const std::string rest = scene.substr(at);
  if (!std::regex_search(rest, m, position)) return std::nullopt;
  return wxPoint(std::stoi(m[1]), std::stoi(m[2]));
}

wxPoint OnWestonOutput(const wxWindow* window, const wxPoint& client) {
  const auto* top =
      dynamic_cast<const wxTopLevelWindow*>(wxGetTopLevelParent(const_cast<wxWindow*>(window)));
  const std::optional<wxPoint> view =
      top != nullptr ? WestonViewOf(top->GetTitle().utf8_string()) : std::nullopt;
  return view.value_or(wxPoint()) + window->ClientToScreen(client);
}

std::string WestonXdotool() {
  const char* display = std::getenv("LQ_WESTON_X_DISPLAY");
  return std::string("DISPLAY=") + (display != nullptr ? display : "") + " xdotool";
}

}  // namespace lq::test
