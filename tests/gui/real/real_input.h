#pragma once

#include <gtest/gtest.h>
#include <wx/gdicmn.h>
#include <wx/image.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "shell/main_panel.h"
#include "shell/my_window.h"
#include "shell/shell_context.h"
#include "shell/tip_status_bar.h"
#include "tests/gui/fakes/fake_beeper.h"
#include "tests/gui/fakes/fake_clipboard.h"
#include "tests/gui/fakes/fake_launcher.h"
#include "tests/gui/fakes/fake_prompts.h"
#include "uikit/tooltip/zq_tooltip.h"

namespace lq::test {

// Input through the X server, as the user's hand gives it: the window learns of it only
// from the display's own events.
void XMove(const wxPoint& screen_point);
void XClick(int button);
// Runs commands (xdotool words, sleeps) in the background while the test sits in a modal
// loop, such as a popup menu's.
void XLater(const std::string& shell_commands);
// Commands for XLater that wait for a menu to open, walk the pointer down from p in small
// steps, close the menu with Escape and leave the window.
std::string WalkDown(const wxPoint& p, int to_dy);

// Handles events until done() holds or timeout_ms of real time pass.
bool PumpUntil(const std::function<bool()>& done, int timeout_ms = 3000);
void Pump(int ms);

// The screen as the display shows it now (ImageMagick's import, where it is installed).
wxImage Grab(const wxRect& screen_rect);
// Where the X server has viewable windows of this size, from xwininfo.
std::vector<wxPoint> ViewableWindowsOfSize(const wxSize& size);

// The real main window with the kit's real clock, timers and pointer, which the notices wait
// on too; only the shell's services (prompts, clipboard, launcher, beeper) are fakes.
class RealInputTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  void Start();
  MainPanel* dlg() const { return frame_->client(); }
  TTipStatusBar* status() const { return frame_->status_bar(); }
  ZQTToolTip* tip() const { return status()->tooltip(); }
  wxWindow* Control(int id) const;
  // The screen point at the control's centre, moved by offset.
  wxPoint CentreOf(int id, const wxPoint& offset = {0, 0}) const;
  // Moves the pointer there and waits until the display has it there.
  void MoveTo(const wxPoint& screen_point);
  void Hover(int id, const wxPoint& offset = {0, 0}) { MoveTo(CentreOf(id, offset)); }
  // A point of the dialog's background, away from every control, in screen coordinates.
  wxPoint FreeSpot() const;
  bool Ready() const { return ready_; }

  FakeClipboard clipboard_;
  FakeLauncher launcher_;
  FakePrompts prompts_;
  FakeBeeper beeper_;
  ShellContext context_;
  std::filesystem::path root_;
  TMyWindow* frame_ = nullptr;
  bool ready_ = false;
};

}  // namespace lq::test
