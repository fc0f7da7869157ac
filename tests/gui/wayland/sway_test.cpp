// The main window under a real tiling compositor at a scale of 2: run by
// tests/support/with_sway.sh, which starts a headless sway whose one output has scale 2.
// grim takes the screenshot in the output's own pixels; swaymsg says where sway tiles.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/toolbar.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "resources/ids.h"
#include "resources/images.h"
#include "resources/resources.h"
#include "shell/main_panel.h"
#include "shell/my_window.h"
#include "shell/shell_context.h"
#include "tests/gui/fakes/fake_beeper.h"
#include "tests/gui/fakes/fake_clipboard.h"
#include "tests/gui/fakes/fake_launcher.h"
#include "tests/gui/fakes/fake_prompts.h"
#include "tests/gui/real/pixels.h"
#include "tests/gui/uikit/kit_fakes.h"
#include "tests/support/run_process.h"
#include "tests/support/stderr_capture.h"

namespace lq::test {
namespace {

namespace fs = std::filesystem;

bool RunUntil(const std::function<bool()>& done, int limit_ms = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limit_ms);
  while (std::chrono::steady_clock::now() < end) {
    wxTheApp->Yield(true);
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

void RunFor(int ms) {
  RunUntil([] { return false; }, ms);
}

std::string Shell(const std::string& command) { return RunProcess("/bin/sh", {"-c", command}).out; }

class SwayTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* session = std::getenv("LQ_SWAY_SESSION");
    if (session == nullptr) GTEST_SKIP() << "not inside tests/support/with_sway.sh";
    session_ = session;
    InitResources();
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
    wxTheApp->SetExitOnFrameDelete(false);
    root_ = session_ / ("home-" + std::to_string(++runs_));
    for (const char* dir : {"home/Desktop", "config", "program"})
      fs::create_directories(root_ / dir);
    setenv("HOME", (root_ / "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    kit_.UseFakeClock();  // a notice passes without waiting
    context_.services = {&clipboard_, &launcher_, &prompts_, &beeper_};
    context_.settings_file = root_ / "config" / "loomquill" / "ZQIni.ini";
    context_.program_folder = (root_ / "program").string() + "/";
    // What GTK says while the test runs goes to a file of its own, to be read back.
    stderr_.Start(root_ / "stderr.log");
  }

  void TearDown() override {
    if (frame_ != nullptr) frame_->Destroy();
    RunFor(100);
    if (neighbour_ != 0) Shell("kill " + std::to_string(neighbour_));
    RestoreStderr();
  }

  void RestoreStderr() { stderr_.Stop(); }
  std::string StderrText() const { return stderr_.Text(); }

  void StartWithFont(int height, int weight) {
    fs::create_directories(context_.settings_file.parent_path());
    std::ofstream(context_.settings_file)
        << "[Loomquill]\nlfHeight=" << height << "\nlfWeight=" << weight
        << "\nlfFaceName=DejaVu Sans\n";
    frame_ = new TMyWindow(context_);
    frame_->Show();
    ASSERT_TRUE(RunUntil([this] { return frame_->IsShownOnScreen(); }));
    // Sway configures the window once it is mapped; GTK draws on its frame clock.
    RunFor(800);
  }

  // Another program beside Loomquill, so that sway tiles each at half the output's width.
  void StartNeighbour() {
    const std::string pid = Shell("weston-flower >/dev/null 2>&1 & echo $!");
    neighbour_ = std::atoi(pid.c_str());
    ASSERT_GT(neighbour_, 0);
    ASSERT_TRUE(RunUntil(
        [] { return Shell("swaymsg -t get_tree").find("\"Flower\"") != std::string::npos; }));
  }

  // The logical width sway gives Loomquill's tile.
  int TileWidth() {
    const std::string tree = Shell(
        "swaymsg -t get_tree | jq -r '.. | objects | select(.type? == \"con\" and "
        "((.name // \"\") | startswith(\"Halvorn\"))) | .rect.width'");
    return std::atoi(tree.c_str());
  }

  fs::path session_;
  fs::path root_;
  static inline int runs_ = 0;
  StderrCapture stderr_;
  int neighbour_ = 0;
  KitFakes kit_;
  FakeClipboard clipboard_;
  FakeLauncher launcher_;
  FakePrompts prompts_;
  FakeBeeper beeper_;
  ShellContext context_;
  TMyWindow* frame_ = nullptr;
};

TEST_F(SwayTest, TheToolBarShowsTheArtDrawnAt64PixelsPixelForPixel) {
  StartWithFont(-12, 400);
  const fs::path shot_file = root_ / "shot.png";
  ASSERT_EQ(std::system(("grim -o HEADLESS-1 '" + shot_file.string() + "'").c_str()), 0);
  const wxImage shot(shot_file.string(), wxBITMAP_TYPE_PNG);
  ASSERT_TRUE(shot.IsOk());
  ASSERT_EQ(shot.GetWidth(), 1280) << "the output is not at scale 2";
  for (const int id :
       {ids::kBitmapCreate, ids::kBitmapView, ids::kBitmapPreview, ids::kBitmapClear}) {
    const wxImage art = ToolBitmap(id, 64).ConvertToImage();
    ASSERT_TRUE(art.IsOk());
    EXPECT_TRUE(ShowsPixelForPixel(shot, art))
        << "tool bitmap " << id << " is not the 64-pixel art";
  }
}

// The output's scale changes under the running window, as when it moves to another screen:
// the tool bar takes the art drawn for the new scale.
TEST_F(SwayTest, TheToolBarTakesTheArtOfTheScaleItIsShownAtNow) {
  StartWithFont(-12, 400);
  for (const int scale : {1, 2}) {
    ASSERT_EQ(
        std::system(
            ("swaymsg output HEADLESS-1 scale " + std::to_string(scale) + " >/dev/null").c_str()),
        0);
    RunFor(1000);
    const fs::path shot_file = root_ / ("shot-" + std::to_string(scale) + ".png");
    ASSERT_EQ(std::system(("grim -o HEADLESS-1 '" + shot_file.string() + "'").c_str()), 0);
    const wxImage shot(shot_file.string(), wxBITMAP_TYPE_PNG);
    ASSERT_TRUE(shot.IsOk());
    for (const int id : {ids::kBitmapCreate, ids::kBitmapClear}) {
      const wxImage art = ToolBitmap(id, 32 * scale).ConvertToImage();
      EXPECT_TRUE(ShowsPixelForPixel(shot, art))
          << "tool bitmap " << id << " at a scale of " << scale;
    }
  }
}

// Half of the output: 320 logical pixels, less than the window's start size.
class SwayHalfTileTest : public SwayTest, public testing::WithParamInterface<int> {};

TEST_P(SwayHalfTileTest, TheWindowTakesItsTileAndCutsNothing) {
  StartNeighbour();
  StartWithFont(GetParam(), GetParam() == -12 ? 400 : 700);
  int tile = 0;
  ASSERT_TRUE(RunUntil([&] {
    tile = TileWidth();
    return tile > 0 && tile <= 330;
  })) << "sway did not tile the window at half width ("
      << tile << ")";
  RunFor(500);
  // A window that keeps a larger smallest size than its tile is cut by sway at the tile.
  EXPECT_LE(frame_->GetSize().GetWidth(), tile) << "the window is wider than its tile";
  // Every control shows whole across the frame's client area: none is cut at the right.
  MainPanel* dlg = frame_->client();
  const int client_right = frame_->GetClientSize().GetWidth();
  for (wxWindow* child : dlg->GetChildren()) {
    if (!child->IsShown()) continue;
    const wxRect r(frame_->ScreenToClient(child->GetScreenPosition()), child->GetSize());
    EXPECT_GE(r.GetLeft(), 0) << "control " << child->GetId();
    EXPECT_LE(r.GetRight(), client_right) << "control " << child->GetId() << " is cut";
  }
  RestoreStderr();
  // Nothing GTK says about a size it was given: no critical, nor a warning of a control
  // measured smaller than it can be drawn.
  const std::string said = StderrText();
  EXPECT_EQ(said.find("CRITICAL"), std::string::npos) << said;
  EXPECT_EQ(said.find("Gtk-WARNING"), std::string::npos) << said;
}

INSTANTIATE_TEST_SUITE_P(Fonts, SwayHalfTileTest, testing::Values(-12, -16),
                         [](const testing::TestParamInfo<int>& p) {
                           return p.param == -12 ? std::string("Normal") : std::string("Bold");
                         });

}  // namespace
}  // namespace lq::test
