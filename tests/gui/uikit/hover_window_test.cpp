// The real main window under a virtual display: hovering its controls shows their status
// text and, with tips on, the shared tooltip after its delay; resizing rescales the main
// dialog. The kit's clock and timers are fakes, so a minute of hovering takes no minute.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/eventfilter.h>
#include <wx/utils.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "resources/ids.h"
#include "resources/resources.h"
#include "shell/main_panel.h"
#include "shell/my_window.h"
#include "shell/tip_status_bar.h"
#include "tests/gui/fakes/fake_beeper.h"
#include "tests/gui/fakes/fake_clipboard.h"
#include "tests/gui/fakes/fake_launcher.h"
#include "tests/gui/fakes/fake_prompts.h"
#include "tests/gui/uikit/kit_fakes.h"
#include "uikit/grafext/controls.h"
#include "uikit/grafext/popup.h"
#include "uikit/tooltip/zq_tooltip.h"

namespace lq {
namespace {

namespace fs = std::filesystem;

// The display's own pointer events arrive late and in bunches; the test drops them and
// sends each move itself, at a known tick, while the real pointer stands where it says.
class SentMovesOnly : public wxEventFilter {
 public:
  SentMovesOnly() { wxEvtHandler::AddFilter(this); }
  ~SentMovesOnly() override { wxEvtHandler::RemoveFilter(this); }
  int FilterEvent(wxEvent& event) override {
    const wxEventType type = event.GetEventType();
    const bool pointer =
        type == wxEVT_MOTION || type == wxEVT_ENTER_WINDOW || type == wxEVT_LEAVE_WINDOW;
    return pointer && !sending ? Event_Ignore : Event_Skip;
  }
  bool sending = false;
};

class NoPopups : public PopupPresenter {
 public:
  void Show(wxWindow*, wxMenu&, const std::string&, const wxPoint&) override {}
};

// Resident memory in bytes.
long long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long long pages = 0;
  long long resident = 0;
  statm >> pages >> resident;
  return resident * 4096;
}

class HoverWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    fakes_.UseFakeTime();
    InitResources();
    wxTheApp->SetExitOnFrameDelete(false);
    std::string pattern = (fs::temp_directory_path() / "lq-hover-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    fs::create_directories(root_ / "config");
    fs::create_directories(root_ / "program");
    setenv("HOME", root_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    context_.services = {&clipboard_, &launcher_, &prompts_, &beeper_};
    context_.settings_file = root_ / "config" / "loomquill" / "ZQIni.ini";
    context_.program_folder = (root_ / "program").string() + "/";
    fakes_.UsePopups(&no_popups_);
  }
  void TearDown() override {
    if (frame_ != nullptr) frame_->Destroy();
    for (int i = 0; i < 5; ++i) wxTheApp->Yield();
    wxTheApp->ProcessIdle();
    EXPECT_EQ(TipInstance(), nullptr) << "the status bar left its tooltip behind";
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  void Start(bool tips) {
    if (!tips) {
      fs::create_directories(context_.settings_file.parent_path());
      std::ofstream(context_.settings_file) << "[Loomquill]\nUseTip=0\n";
    }
    frame_ = new TMyWindow(context_);
    frame_->Show();
    frame_->Raise();
    Settle();
  }
  void Settle() {
    for (int i = 0; i < 10; ++i) wxTheApp->Yield();
  }
  MainPanel* dlg() const { return frame_->client(); }
  TTipStatusBar* status() const { return frame_->status_bar(); }
  ZQTToolTip* tip() const { return status()->tooltip(); }
  wxWindow* Control(int id) const { return dlg()->FindWindow(id); }

  // The pointer goes to a point of the window, as the user moves it there: the real pointer
  // moves, and the window gets the move.
  void PointAt(wxWindow* window, const wxPoint& at) {
    wxTheApp->Yield();
    fakes_.timers.Advance(3);  // a move takes time
    Warp(window, at);
    wxMouseEvent move(wxEVT_MOTION);
    move.SetPosition(at);
    move.SetEventObject(window);
    Send(window, move);
  }
  void Send(wxWindow* window, wxEvent& event) {
    filter_.sending = true;
    window->ProcessWindowEvent(event);
    filter_.sending = false;
  }
  // Moves the real pointer, waits until the display reports it there and handles the
  // display's own events of the move.
  void Warp(wxWindow* window, const wxPoint& at) {
    const wxPoint target = window->ClientToScreen(at);
    window->WarpPointer(at.x, at.y);
    for (int i = 0; i < 200 && wxGetMousePosition() != target; ++i) wxMilliSleep(1);
    for (int i = 0; i < 3; ++i) wxTheApp->Yield();
  }
  // The pointer at the control's centre, moved by offset (the hint follows only a pointer
  // that has moved).
  void Hover(int id, const wxPoint& offset = {0, 0}) {
    wxWindow* control = Control(id);
    ASSERT_NE(control, nullptr) << id;
    const wxSize size = control->GetSize();
    PointAt(control, wxPoint(size.GetWidth() / 2, size.GetHeight() / 2) + offset);
  }
  // A spot of the dialog's background away from every control.
  void HoverBackground() { PointAt(dlg(), FreeSpot()); }
  wxPoint FreeSpot() const {
    const wxSize size = dlg()->GetClientSize();
    for (int y = size.GetHeight() - 2; y > 0; y -= 3) {
      for (int x = size.GetWidth() - 2; x > 0; x -= 3) {
        bool free = true;
        for (wxWindow* child : dlg()->GetChildren()) {
          if (child->IsShown() && child->GetRect().Inflate(3).Contains(x, y)) free = false;
        }
        if (free) return {x, y};
      }
    }
    return {1, 1};
  }
  bool PointerWorks() {
    Hover(ids::kFileList);
    const wxWindow* list = Control(ids::kFileList);
    return list->GetScreenRect().Contains(wxGetMousePosition()) && frame_->IsActive();
  }

  NoPopups no_popups_;
  test::KitFakes fakes_;
  SentMovesOnly filter_;
  FakeClipboard clipboard_;
  FakeLauncher launcher_;
  FakePrompts prompts_;
  FakeBeeper beeper_;
  ShellContext context_;
  fs::path root_;
  TMyWindow* frame_ = nullptr;
};

TEST_F(HoverWindowTest, TheStatusBarOwnsTheOneTooltip) {
  Start(true);
  ASSERT_NE(tip(), nullptr);
  EXPECT_EQ(TipInstance(), tip());
  EXPECT_TRUE(status()->OwnsTip());
  EXPECT_TRUE(status()->AreTipsEnabled());
  EXPECT_EQ(PublishedTipsEnabled() != nullptr && *PublishedTipsEnabled(), true);
  EXPECT_FALSE(tip()->IsShown());
}

TEST_F(HoverWindowTest, HoverShowsTheStatusTextAndTheTipAfterTheDelayNotBefore) {
  Start(true);
  if (!PointerWorks()) GTEST_SKIP() << "the display moves no pointer or activates no window";
  HoverBackground();
  fakes_.timers.Advance(500);
  Hover(ids::kFileList, {7, 3});
  EXPECT_EQ(status()->ShownText(), "Drag and drop here your files from File Manager");
  EXPECT_EQ(tip()->engine().text(), "Drag & Drop files");
  EXPECT_FALSE(tip()->IsShown());
  EXPECT_EQ(tip()->engine().show_interval(), 150);
  fakes_.timers.Advance(149);
  EXPECT_FALSE(tip()->IsShown());
  fakes_.timers.Advance(1);
  Settle();
  EXPECT_TRUE(tip()->IsShown());
  // Below the pointer, centred 5 pixels right of it.
  const wxPoint pointer = wxGetMousePosition();
  const wxRect rect = tip()->GetScreenRect();
  EXPECT_EQ(rect.GetY(), pointer.y + 32);
  EXPECT_EQ(rect.GetX(), pointer.x - (rect.GetWidth() / 2 - 5));
  // It stays while the pointer rests on the control.
  fakes_.timers.Advance(1000);
  EXPECT_TRUE(tip()->IsShown());
}

TEST_F(HoverWindowTest, TheCreateButtonShowsATwoLineTip) {
  Start(true);
  if (!PointerWorks()) GTEST_SKIP() << "the display moves no pointer or activates no window";
  Hover(ids::kCreate);
  EXPECT_EQ(status()->ShownText(), "Create output file containing header, files, queue");
  EXPECT_EQ(tip()->engine().text(), "Click here\nto create output");
  fakes_.timers.Advance(1500);
  EXPECT_TRUE(tip()->IsShown());
  const int line = tip()->GetTextExtent("Click here").GetHeight();
  EXPECT_NEAR(tip()->GetSize().GetHeight(), 2 * line + 4, 1);
}

TEST_F(HoverWindowTest, MovingOffHidesTheTip) {
  Start(true);
  if (!PointerWorks()) GTEST_SKIP() << "the display moves no pointer or activates no window";
  Hover(ids::kHeader);
  fakes_.timers.Advance(200);
  ASSERT_TRUE(tip()->IsShown());
  // Onto the background: the hint is cleared at once.
  HoverBackground();
  EXPECT_FALSE(tip()->IsShown());
  EXPECT_EQ(status()->ShownText(), status()->MessageText());
  // Shown again, then the pointer slips away without a move reaching the dialog: the watch
  // hides it within 100 ms.
  Hover(ids::kQueue);
  fakes_.timers.Advance(200);
  ASSERT_TRUE(tip()->IsShown());
  Warp(dlg(), FreeSpot());
  fakes_.timers.Advance(100);
  EXPECT_FALSE(tip()->IsShown());
  EXPECT_EQ(fakes_.timers.Running(), 0);
}

TEST_F(HoverWindowTest, ClearedAndSetWithinOneTickWaitsLonger) {
  Start(true);
  if (!PointerWorks()) GTEST_SKIP() << "the display moves no pointer or activates no window";
  Hover(ids::kHeader);
  fakes_.timers.Advance(200);
  // One move handled as two: off the header onto the background, then onto the queue, all
  // at one reading of the clock.
  const wxPoint spot = FreeSpot();
  Warp(dlg(), spot);
  wxMouseEvent off(wxEVT_MOTION);
  off.SetPosition(spot);
  off.SetEventObject(dlg());
  Send(dlg(), off);
  wxWindow* queue = Control(ids::kQueue);
  Warp(queue, {5, 5});
  wxMouseEvent on(wxEVT_MOTION);
  on.SetPosition({5, 5});
  on.SetEventObject(queue);
  Send(queue, on);
  EXPECT_EQ(tip()->engine().text(), "Queue");
  EXPECT_EQ(tip()->engine().show_interval(), 1500);
  fakes_.timers.Advance(1499);
  EXPECT_FALSE(tip()->IsShown());
  fakes_.timers.Advance(1);
  EXPECT_TRUE(tip()->IsShown());
}

TEST_F(HoverWindowTest, WithTipsOffOnlyTheStatusBarChanges) {
  Start(false);
  if (!PointerWorks()) GTEST_SKIP() << "the display moves no pointer or activates no window";
  EXPECT_FALSE(status()->AreTipsEnabled());
  Hover(ids::kCreate);
  EXPECT_EQ(status()->ShownText(), "Create output file containing header, files, queue");
  fakes_.timers.Advance(3000);
  EXPECT_FALSE(tip()->IsShown());
  EXPECT_FALSE(tip()->engine().has_text());
  EXPECT_EQ(fakes_.timers.Running(), 1);  // the highlight's check only
}

TEST_F(HoverWindowTest, AKeyHidesAShownTipWhileTipsAreOff) {
  Start(true);
  if (!PointerWorks()) GTEST_SKIP() << "the display moves no pointer or activates no window";
  Hover(ids::kFileList);
  fakes_.timers.Advance(200);
  ASSERT_TRUE(tip()->IsShown());
  // With tips on a key leaves it.
  wxKeyEvent key(wxEVT_KEY_DOWN);
  key.m_keyCode = 'A';
  key.SetEventObject(Control(ids::kHeader));
  Control(ids::kHeader)->ProcessWindowEvent(key);
  EXPECT_TRUE(tip()->IsShown());
  status()->TipsEnabled(false);
  wxKeyEvent another(wxEVT_KEY_DOWN);
  another.m_keyCode = 'B';
  another.SetEventObject(Control(ids::kHeader));
  Control(ids::kHeader)->ProcessWindowEvent(another);
  EXPECT_FALSE(tip()->IsShown());
}

// A modal dialog of the window, as the Input or the File dialog is: during its modal loop
// the test looks at the tip, then the dialog ends.
void RunModal(wxWindow* owner, const std::function<void()>& meanwhile) {
  wxDialog dialog(owner, wxID_ANY, "modal", wxDefaultPosition, wxSize(200, 100));
  dialog.CallAfter([&] {
    meanwhile();
    dialog.EndModal(wxID_CANCEL);
  });
  dialog.ShowModal();
}

TEST_F(HoverWindowTest, AModalDialogHidesAShownTipAndHoldsNewOnesBack) {
  Start(true);
  if (!PointerWorks()) GTEST_SKIP() << "the display moves no pointer or activates no window";
  Hover(ids::kSetOutputFile);
  fakes_.timers.Advance(200);
  ASSERT_TRUE(tip()->IsShown());
  bool ran = false;
  RunModal(frame_, [&] {
    ran = true;
    EXPECT_FALSE(tip()->IsShown());
    EXPECT_EQ(tip()->modal_depth(), 1);
    EXPECT_FALSE(tip()->engine().show_armed());
    // A hint raised meanwhile (the main window still sees the pointer move under GTK)
    // arms no tip over the dialog.
    const std::string hint = "Main header\nMainHead";
    status()->SetHint(&hint);
    fakes_.timers.Advance(2000);
    EXPECT_FALSE(tip()->IsShown());
    EXPECT_FALSE(tip()->engine().show_armed());
  });
  ASSERT_TRUE(ran);
  EXPECT_EQ(tip()->modal_depth(), 0);
  // Once the dialog is gone the tips come back.
  HoverBackground();
  fakes_.timers.Advance(500);
  Hover(ids::kSetMainHead, {3, 1});
  fakes_.timers.Advance(200);
  EXPECT_TRUE(tip()->IsShown());
}

TEST_F(HoverWindowTest, APendingTipDoesNotShowOverAModalDialog) {
  Start(true);
  if (!PointerWorks()) GTEST_SKIP() << "the display moves no pointer or activates no window";
  HoverBackground();
  fakes_.timers.Advance(500);
  Hover(ids::kSetOutputFile);
  ASSERT_TRUE(tip()->engine().show_armed());
  ASSERT_FALSE(tip()->IsShown());
  RunModal(frame_, [&] {
    fakes_.timers.Advance(1200);
    EXPECT_FALSE(tip()->IsShown());
    EXPECT_FALSE(tip()->engine().show_armed());
  });
  EXPECT_FALSE(tip()->IsShown());
}

TEST_F(HoverWindowTest, TheWindowLosingTheActivationHidesTheTip) {
  Start(true);
  if (!PointerWorks()) GTEST_SKIP() << "the display moves no pointer or activates no window";
  Hover(ids::kSetOutputFile);
  fakes_.timers.Advance(200);
  ASSERT_TRUE(tip()->IsShown());
  // Another window's activation says nothing of this one.
  auto* other = new wxFrame(nullptr, wxID_ANY, "other");
  wxActivateEvent elsewhere(wxEVT_ACTIVATE, false, other->GetId());
  elsewhere.SetEventObject(other);
  other->ProcessWindowEvent(elsewhere);
  other->Destroy();
  EXPECT_TRUE(tip()->IsShown());
  wxActivateEvent lost(wxEVT_ACTIVATE, false, frame_->GetId());
  lost.SetEventObject(frame_);
  frame_->ProcessWindowEvent(lost);
  EXPECT_FALSE(tip()->IsShown());
  EXPECT_FALSE(tip()->engine().show_armed());
}

TEST_F(HoverWindowTest, HoveringHighlightsTheControl) {
  Start(true);
  if (!PointerWorks()) GTEST_SKIP() << "the display moves no pointer or activates no window";
  Hover(ids::kFileList);
  const TMouseLumen* list = LumenOf(Control(ids::kFileList));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->look(), LumenLook::kDotted);
  Hover(ids::kMoveUp);
  EXPECT_EQ(LumenOf(Control(ids::kMoveUp))->look(), LumenLook::kTinted);
  fakes_.timers.Advance(100);
  EXPECT_FALSE(list->lit());
}

TEST_F(HoverWindowTest, DoublingTheMainDialogDoublesEveryControl) {
  Start(true);
  std::map<wxWindow*, wxRect> before;
  for (wxWindow* child : dlg()->GetChildren()) before[child] = child->GetRect();
  const wxSize size = dlg()->GetSize();
  ASSERT_EQ(size, dlg()->initial_client_size());
  frame_->SetSize(frame_->GetSize() + size);
  for (int i = 0; i < 50 && dlg()->GetSize() != size * 2; ++i) wxTheApp->Yield();
  ASSERT_EQ(dlg()->GetSize(), size * 2);
  for (const auto& [child, was] : before) {
    const wxRect now = child->GetRect();
    EXPECT_NEAR(now.GetX(), was.GetX() * 2, 1) << child->GetId();
    EXPECT_NEAR(now.GetY(), was.GetY() * 2, 1) << child->GetId();
    EXPECT_NEAR(now.GetWidth(), was.GetWidth() * 2, 1) << child->GetId();
    EXPECT_NEAR(now.GetHeight(), was.GetHeight() * 2, 1) << child->GetId();
  }
  EXPECT_NEAR(dlg()->current_font().GetFractionalPointSize(),
              dlg()->initial_font().GetFractionalPointSize() * 2, 1.0);
}

TEST_F(HoverWindowTest, AMinuteOfHoveringLeaksNoTimersNorMemory) {
  Start(true);
  if (!PointerWorks()) GTEST_SKIP() << "the display moves no pointer or activates no window";
  std::vector<int> ids;
  for (wxWindow* child : dlg()->GetChildren()) {
    if (LumenOf(child) != nullptr && child->IsShown()) ids.push_back(child->GetId());
  }
  ASSERT_GE(ids.size(), 15u);
  auto sweep = [&](long long ms) {
    const long long end = fakes_.clock.now + ms;
    while (fakes_.clock.now < end) {
      for (int id : ids) {
        Hover(id);
        fakes_.timers.Advance(id % 2 == 0 ? 40 : 180);  // some tips show, some do not
      }
      HoverBackground();
      fakes_.timers.Advance(120);
    }
  };
  sweep(5000);  // warm-up: every lazily made timer and cached font exists now
  const int live = fakes_.timers.live;
  const long long resident = ResidentBytes();
  sweep(60000);
  EXPECT_EQ(fakes_.timers.live, live);
  HoverBackground();
  fakes_.timers.Advance(300);
  EXPECT_EQ(fakes_.timers.Running(), 0);
  EXPECT_FALSE(tip()->IsShown());
  EXPECT_LT(ResidentBytes() - resident, 4 << 20) << "resident memory grew";
}

}  // namespace
}  // namespace lq
