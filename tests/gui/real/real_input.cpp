#include "tests/gui/real/real_input.h"

#include <unistd.h>
#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/imagpng.h>
#include <wx/utils.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "resources/resources.h"

namespace lq::test {

namespace fs = std::filesystem;

namespace {

void Run(const std::string& command) {
  const std::string line = command + " >/dev/null 2>&1";
  ASSERT_EQ(std::system(line.c_str()), 0) << command;
}

}  // namespace

void XMove(const wxPoint& p) {
  Run("xdotool mousemove " + std::to_string(p.x) + " " + std::to_string(p.y));
}

void XClick(int button) { Run("xdotool click " + std::to_string(button)); }

void XLater(const std::string& shell_commands) {
  Run("(" + shell_commands + ") </dev/null >/dev/null 2>&1 &");
}

std::string WalkDown(const wxPoint& p, int to_dy) {
  std::string walk = "sleep 0.6";
  for (int dy = 0; dy <= to_dy; dy += 6) {
    walk += "; xdotool mousemove " + std::to_string(p.x + dy % 4) + " " + std::to_string(p.y + dy) +
            "; sleep 0.04";
  }
  // Off the window before the menu closes, so no control that the walk ended over raises a
  // tip of its own once the menu is gone.
  return walk + "; sleep 0.3; xdotool mousemove 1270 1010; sleep 0.1; xdotool key Escape";
}

bool PumpUntil(const std::function<bool()>& done, int timeout_ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    wxTheApp->Yield(true);
    wxMilliSleep(2);
  }
  return true;
}

void Pump(int ms) {
  PumpUntil([] { return false; }, ms);
}

wxImage Grab(const wxRect& r) {
  // The X server's own pixels: a screen DC of wxGTK may hand back what GTK first drew.
  const fs::path file =
      fs::temp_directory_path() / ("lq-grab-" + std::to_string(getpid()) + ".png");
  const std::string command = "import -window root -crop " + std::to_string(r.GetWidth()) + "x" +
                              std::to_string(r.GetHeight()) + "+" + std::to_string(r.GetX()) + "+" +
                              std::to_string(r.GetY()) + " " + file.string() + " >/dev/null 2>&1";
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  wxImage shot;
  if (std::system(command.c_str()) == 0 && shot.LoadFile(file.string(), wxBITMAP_TYPE_PNG)) {
    fs::remove(file);
    return shot;
  }
  wxBitmap bitmap(r.GetWidth(), r.GetHeight());
  wxMemoryDC to(bitmap);
  wxScreenDC from;
  to.Blit(0, 0, r.GetWidth(), r.GetHeight(), &from, r.GetX(), r.GetY());
  to.SelectObject(wxNullBitmap);
  return bitmap.ConvertToImage();
}

std::vector<wxPoint> ViewableWindowsOfSize(const wxSize& size) {
  std::vector<wxPoint> found;
  const std::string geometry =
      std::to_string(size.GetWidth()) + "x" + std::to_string(size.GetHeight()) + "+";
  FILE* tree = popen("xwininfo -root -tree 2>/dev/null", "r");
  if (tree == nullptr) return found;
  char line[512];
  std::vector<std::string> ids;
  while (fgets(line, sizeof line, tree) != nullptr) {
    const std::string text = line;
    if (text.find(" " + geometry) == std::string::npos) continue;
    const std::size_t id = text.find("0x");
    if (id != std::string::npos) ids.push_back(text.substr(id, text.find(' ', id) - id));
  }
  pclose(tree);
  for (const std::string& id : ids) {
    FILE* info = popen(("xwininfo -id " + id + " 2>/dev/null").c_str(), "r");
    if (info == nullptr) continue;
    int x = 0;
    int y = 0;
    bool viewable = false;
    while (fgets(line, sizeof line, info) != nullptr) {
      sscanf(line, "  Absolute upper-left X: %d", &x);
      sscanf(line, "  Absolute upper-left Y: %d", &y);
      if (std::string(line).find("IsViewable") != std::string::npos) viewable = true;
    }
    pclose(info);
    if (viewable) found.push_back({x, y});
  }
  return found;
}

void RealInputTest::SetUp() {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xdotool";
  InitResources();
  wxTheApp->SetExitOnFrameDelete(false);
  std::string pattern = (fs::temp_directory_path() / "lq-real-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  root_ = pattern;
  for (const char* dir : {"home/Desktop", "config", "program"}) fs::create_directories(root_ / dir);
  setenv("HOME", (root_ / "home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
  unsetenv("XDG_DESKTOP_DIR");
  context_.services = {&clipboard_, &launcher_, &prompts_, &beeper_};
  context_.settings_file = root_ / "config" / "loomquill" / "ZQIni.ini";
  context_.program_folder = (root_ / "program").string() + "/";
  // Out of the way of the window, which opens at the top left.
  XMove({1270, 1010});
}

void RealInputTest::TearDown() {
  if (frame_ != nullptr) frame_->Destroy();
  Pump(50);
  std::error_code ec;
  fs::remove_all(root_, ec);
}

void RealInputTest::Start() {
  frame_ = new TMyWindow(context_);
  frame_->Move(0, 0);
  frame_->Show();
  frame_->Raise();
  // GTK maps and draws on its own frame clock.
  ready_ = PumpUntil([this] { return frame_->IsShownOnScreen() && frame_->IsActive(); }, 3000);
  Pump(200);
}

wxWindow* RealInputTest::Control(int id) const { return dlg()->FindWindow(id); }

wxPoint RealInputTest::CentreOf(int id, const wxPoint& offset) const {
  const wxRect r = Control(id)->GetScreenRect();
  return wxPoint(r.GetX() + r.GetWidth() / 2, r.GetY() + r.GetHeight() / 2) + offset;
}

void RealInputTest::MoveTo(const wxPoint& p) {
  XMove(p);
  PumpUntil([&] { return wxGetMousePosition() == p; }, 1000);
  Pump(30);  // the display's crossing and motion events
}

wxPoint RealInputTest::FreeSpot() const {
  const wxSize size = dlg()->GetClientSize();
  for (int y = size.GetHeight() - 4; y > 0; y -= 3) {
    for (int x = size.GetWidth() - 4; x > 0; x -= 3) {
      bool free = true;
      for (wxWindow* child : dlg()->GetChildren()) {
        if (child->IsShown() && child->GetRect().Inflate(4).Contains(x, y)) free = false;
      }
      if (free) return dlg()->ClientToScreen(wxPoint(x, y));
    }
  }
  return dlg()->ClientToScreen(wxPoint(2, 2));
}

}  // namespace lq::test
