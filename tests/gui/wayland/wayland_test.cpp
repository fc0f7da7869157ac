// What Loomquill's windows do under a real Wayland compositor: run by
// tests/support/with_weston.sh, which starts weston with a seat whose pointer xdotool drives.
// Other programs read the clipboard (wl-paste, wl-copy) and weston's scene graph tells where
// it shows each window.
#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/filefn.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/utils.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "platform/compositor.h"
#include "platform/wx_clipboard.h"
#include "shell/preview_link.h"
#include "tests/gui/fakes/fake_clock.h"
#include "tests/gui/wayland/weston_scene.h"
#include "tests/support/run_process.h"
#include "uikit/grafext/desktop.h"
#include "uikit/grafext/kit_services.h"

namespace lq {
namespace {

using test::OnWestonOutput;
using test::WestonViewOf;
using test::WestonXdotool;

test::ProcessResult Shell(const std::string& command) {
  return test::RunProcess("/bin/sh", {"-c", command});
}

// Runs the toolkit until done() holds, or for at most the limit.
bool RunUntil(const std::function<bool()>& done,
              std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    wxTheApp->Yield(true);
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

// What another program pastes. It runs beside the toolkit's loop, which serves our own text.
std::string Pasted() {
  static int count = 0;
  const std::string out =
      "/tmp/lq-wayland-paste-" + std::to_string(getpid()) + "-" + std::to_string(++count);
  Shell("(timeout 5 wl-paste -n >'" + out + "' 2>/dev/null; : >'" + out +
        ".done') </dev/null >/dev/null 2>&1 &");
  RunUntil([&] { return wxFileExists(out + ".done"); });
  std::string text;
  if (FILE* f = std::fopen(out.c_str(), "rb")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
    std::fclose(f);
  }
  std::remove(out.c_str());
  std::remove((out + ".done").c_str());
  return text;
}

bool PastedIs(const std::string& text) {
  return RunUntil([&] { return Pasted() == text; });
}

void PointerTo(const wxPoint& output_point) {
  std::ostringstream command;
  command << WestonXdotool() << " mousemove " << output_point.x << ' ' << output_point.y;
  Shell(command.str());
}

class WaylandTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OnWayland()) << "run inside tests/support/with_weston.sh";
    title_ = "Wayland test " + std::to_string(++count_);
    frame_ = new wxFrame(nullptr, wxID_ANY, title_, wxDefaultPosition, wxSize(300, 200));
    panel_ = new wxPanel(frame_);
    frame_->Show();
    ASSERT_TRUE(RunUntil([this] { return WestonViewOf(title_) && frame_->IsActive(); }));
  }
  void TearDown() override {
    frame_->Destroy();
    wxTheApp->ProcessIdle();
  }

  // Another program takes the focus, as the file manager has when it hands a file over: its
  // pid, or empty when it did not.
  std::string OtherProgramTakesTheFocus() {
    const std::string pid = Shell("weston-flower >/dev/null 2>&1 & echo $!").out;
    if (!RunUntil([this] { return WestonViewOf("Flower") && !frame_->IsActive(); })) return {};
    return pid;
  }

  static inline int count_ = 0;
  std::string title_;
  wxFrame* frame_ = nullptr;
  wxPanel* panel_ = nullptr;
};

TEST_F(WaylandTest, CentringLeavesTheWindowWhereTheCompositorPutIt) {
  const wxPoint believed = frame_->GetPosition();
  const wxPoint shown = *WestonViewOf(title_);
  CenterOnDesktop(frame_);
  wxTheApp->Yield(true);
  // Moved by code, the toolkit would believe the centre it asked for, and weston ignores it.
  EXPECT_EQ(frame_->GetPosition(), believed);
  EXPECT_EQ(*WestonViewOf(title_), shown);
}

TEST_F(WaylandTest, ThePreviewKeepsItsStoredPlaceAndTakesItsSize) {
  PreviewLink link(
      frame_, [] { return Preview{}; }, [] { return std::string("/tmp/out.txt"); });
  PreviewSettings stored;
  stored.Left = 40;
  stored.Top = 30;
  stored.Width = 400;
  stored.Height = 300;
  link.Restore(stored);
  link.Open(frame_->GetFont());
  ASSERT_TRUE(RunUntil([] { return WestonViewOf("Preview output").has_value(); }));
  link.window()->SetSize(420, 320);
  const PreviewSettings state = link.State();
  // What the toolkit believes of the place is not where the window is.
  EXPECT_EQ(state.Left, 40);
  EXPECT_EQ(state.Top, 30);
  EXPECT_EQ(state.Width, 420);
  EXPECT_EQ(state.Height, 320);
}

TEST_F(WaylandTest, CopiedTextReachesOtherPrograms) {
  FakeClock clock;
  WxClipboard clipboard(clock);
  ASSERT_TRUE(clipboard.SetText("caf\xC3\xA9 list.m3u"));
  EXPECT_TRUE(PastedIs("caf\xC3\xA9 list.m3u")) << "got [" << Pasted() << "]";
}

TEST_F(WaylandTest, TextCopiedWithoutTheFocusIsNotCopiedOverWhatTheUserCopiedSince) {
  const std::string flower = OtherProgramTakesTheFocus();
  ASSERT_FALSE(flower.empty());
  FakeClock clock;
  WxClipboard clipboard(clock);
  ASSERT_TRUE(clipboard.SetText("held.txt"));
  EXPECT_TRUE(PastedIs("held.txt"));  // weston takes it from any program
  Shell("wl-copy other >/dev/null 2>&1 </dev/null");
  ASSERT_TRUE(PastedIs("other"));
  clock.Advance(WxClipboard::kHoldMs);
  // With the other program gone, weston gives the focus back to our window.
  Shell("kill " + flower);
  ASSERT_TRUE(RunUntil([this] { return frame_->IsActive(); }));
  // Time for a write on activation to land, had there been one.
  RunUntil([] { return false; }, std::chrono::milliseconds(500));
  EXPECT_EQ(Pasted(), "other");
}

TEST_F(WaylandTest, TextTurnedDownWithoutTheFocusIsCopiedWhenTheFocusComes) {
  const std::string flower = OtherProgramTakesTheFocus();
  ASSERT_FALSE(flower.empty());
  // Copied after our window's last event, so weston turns down the write without the focus.
  Shell("wl-copy earlier >/dev/null 2>&1 </dev/null");
  ASSERT_TRUE(PastedIs("earlier"));
  FakeClock clock;
  WxClipboard clipboard(clock);
  ASSERT_TRUE(clipboard.SetText("held.txt"));
  RunUntil([] { return false; }, std::chrono::milliseconds(500));
  ASSERT_EQ(Pasted(), "earlier");
  clock.Advance(WxClipboard::kHoldMs);
  Shell("kill " + flower);
  ASSERT_TRUE(RunUntil([this] { return frame_->IsActive(); }));
  EXPECT_TRUE(PastedIs("held.txt")) << "got [" << Pasted() << "]";
}

TEST_F(WaylandTest, TextCopiedWithoutTheFocusIsDroppedWhenTheFocusComesTooLate) {
  const std::string flower = OtherProgramTakesTheFocus();
  ASSERT_FALSE(flower.empty());
  FakeClock clock;
  WxClipboard clipboard(clock);
  ASSERT_TRUE(clipboard.SetText("held.txt"));
  // What the user copies meanwhile stays once the wait is over.
  Shell("wl-copy later >/dev/null 2>&1 </dev/null");
  ASSERT_TRUE(PastedIs("later"));
  clock.Advance(WxClipboard::kHoldMs + 1);
  Shell("kill " + flower);
  ASSERT_TRUE(RunUntil([this] { return frame_->IsActive(); }));
  // Time for a write on activation to land, had there been one.
  RunUntil([] { return false; }, std::chrono::milliseconds(500));
  EXPECT_EQ(Pasted(), "later");
}

TEST_F(WaylandTest, APointNamesAWindowOnlyWhileThePointerIsOverOne) {
  PointerProbe& probe = KitPointer();
  PointerTo(OnWestonOutput(panel_, wxPoint(150, 100)));
  ASSERT_TRUE(RunUntil([&] { return TopLevelUnderPointer() == frame_; }));
  EXPECT_EQ(probe.WindowAt(probe.Position()), panel_);
  // Over weston's own panel the toolkit keeps the last position it was told, which must
  // name no window.
  PointerTo(wxPoint(600, 10));
  ASSERT_TRUE(RunUntil([&] { return TopLevelUnderPointer() == nullptr; }));
  EXPECT_EQ(probe.WindowAt(probe.Position()), nullptr);
}

}  // namespace
}  // namespace lq
