// The hover highlight of each control kind and the dialog base's rescale, on a real dialog
// with the kit's clock, timers and pointer faked.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/sstream.h>
#include <wx/xml/xml.h>
#include <wx/xrc/xmlres.h>

#include <string>

#include "resources/ids.h"
#include "tests/gui/uikit/kit_fakes.h"
#include "uikit/grafext/controls.h"
#include "uikit/grafext/white_center_dlg.h"
#include "uikit/grafext/zq_list_box.h"

namespace lq {
namespace {

// An id of 1000 or more, which keeps its place when the dialog rescales.
constexpr int kFixedButton = 1500;

// The resource name of a control or menu item: its id, as the program's resources name them.
std::string XrcName(int id) { return "name=\"" + std::to_string(id) + "\""; }

std::string LumenXrc() {
  return R"(<?xml version="1.0" encoding="UTF-8"?>
<resource xmlns="http://www.wxwidgets.org/wxxrc" version="2.5.3.0">
  <object class="wxDialog" name="LUMEN_DLG">
    <title>Lumen</title>
    <size>400,300</size>
    <style>wxCAPTION|wxRESIZE_BORDER</style>
    <object class="TZQListBox" )" +
         XrcName(ids::kFileList) + R"(>
      <pos>10,10</pos><size>150,120</size>
    </object>
    <object class="wxTextCtrl" )" +
         XrcName(ids::kHeader) + R"( subclass="TZQEditCursor">
      <pos>170,10</pos><size>150,28</size>
    </object>
    <object class="wxCheckBox" )" +
         XrcName(ids::kInvertSlash) + R"( subclass="TZQCheckBox">
      <pos>170,50</pos><size>150,24</size><label>Invert</label>
    </object>
    <object class="wxRadioButton" )" +
         XrcName(ids::kModeFull) + R"( subclass="TZQRadioButton">
      <pos>170,80</pos><size>150,24</size><label>Full</label><style>wxRB_GROUP</style>
    </object>
    <object class="wxButton" )" +
         XrcName(ids::kMoveUp) + R"( subclass="TAutoButton">
      <pos>10,150</pos><size>60,30</size><label>Up</label>
    </object>
    <object class="wxButton" )" +
         XrcName(ids::kMoveDown) + R"( subclass="TAutoButton">
      <pos>80,150</pos><size>60,30</size><label>Down</label>
    </object>
    <object class="wxButton" )" +
         XrcName(ids::kView) + R"( subclass="TZQButton">
      <pos>150,150</pos><size>60,30</size><label>View</label>
    </object>
    <object class="wxButton" )" +
         XrcName(kFixedButton) + R"( subclass="TZQButton">
      <pos>220,150</pos><size>60,30</size><label>Fixed</label>
    </object>
  </object>
</resource>
)";
}

void LoadLumenXrc() {
  static bool loaded = false;
  if (loaded) return;
  wxStringInputStream stream(wxString::FromUTF8(LumenXrc()));
  auto* doc = new wxXmlDocument(stream);
  ASSERT_TRUE(doc->IsOk());
  ASSERT_TRUE(wxXmlResource::Get()->LoadDocument(doc, "lumen_test.xrc"));
  loaded = true;
}

wxCursor TestCursors(const std::string& name) {
  return name == "CUR_NORMAL" || name == "CUR_MANO" ? wxCursor(wxCURSOR_HAND) : wxNullCursor;
}

void Yield() {
  for (int i = 0; i < 5; ++i) wxTheApp->Yield();
}

class LumenTest : public testing::Test {
 protected:
  void SetUp() override {
    LoadLumenXrc();
    fakes.UseFakeTime();
    fakes.UseFakePointer();
    fakes.UseCursors(&TestCursors);
    RescaleTracker::ForgetLastSize();
    dlg = new TWhiteCenterDlg(nullptr, "LUMEN_DLG", "", nullptr);
    ASSERT_TRUE(dlg->loaded());
    names.Append("one");
    names.Append("two");
    Get<TZQListBox>(ids::kFileList)->ShowList(&names);
    dlg->Show();
    Yield();
  }
  void TearDown() override {
    dlg->Destroy();
    wxTheApp->ProcessIdle();
    Yield();
  }
  template <class T>
  T* Get(int id) {
    return dynamic_cast<T*>(dlg->FindWindow(id));
  }
  // A move over the control, the pointer at its centre.
  void MoveOver(wxWindow* control, int modifiers = 0, bool left_down = false) {
    fakes.pointer.pos = control->GetScreenRect().GetPosition() + wxPoint(5, 5);
    fakes.pointer.at = [control](const wxPoint&) { return control; };
    wxMouseEvent event(wxEVT_MOTION);
    event.SetPosition({5, 5});
    event.SetEventObject(control);
    event.SetControlDown((modifiers & wxMOD_CONTROL) != 0);
    event.SetShiftDown((modifiers & wxMOD_SHIFT) != 0);
    event.SetLeftDown(left_down);
    control->ProcessWindowEvent(event);
  }
  void PointerAway() {
    fakes.pointer.pos = dlg->GetScreenRect().GetBottomRight() - wxPoint(3, 3);
    fakes.pointer.at = [this](const wxPoint&) { return dlg; };
  }

  test::KitFakes fakes;
  FileList names;
  TWhiteCenterDlg* dlg = nullptr;
};

TEST_F(LumenTest, KindsPerControlClass) {
  EXPECT_EQ(Get<TZQListBox>(ids::kFileList)->lumen().kind(), LumenKind::kListOrRadio);
  EXPECT_EQ(Get<TZQEditCursor>(ids::kHeader)->lumen().kind(), LumenKind::kEditOrCheck);
  EXPECT_EQ(Get<TZQCheckBox>(ids::kInvertSlash)->lumen().kind(), LumenKind::kEditOrCheck);
  EXPECT_EQ(Get<TZQRadioButton>(ids::kModeFull)->lumen().kind(), LumenKind::kListOrRadio);
  EXPECT_EQ(Get<TAutoButton>(ids::kMoveUp)->lumen().kind(), LumenKind::kButton);
  EXPECT_EQ(LumenOf(dlg->FindWindow(ids::kView)), nullptr);  // a plain button has none
}

TEST_F(LumenTest, ListOutlineComesAndGoesWithinTwoHundredMs) {
  auto* list = Get<TZQListBox>(ids::kFileList);
  MoveOver(list);
  const TMouseLumen& lumen = list->lumen();
  EXPECT_TRUE(lumen.lit());
  EXPECT_EQ(lumen.look(), LumenLook::kDotted);
  EXPECT_EQ(lumen.timer_id(), kLumenTimerId);
  const auto* timer = fakes.timers.Find(kLumenTimerId);
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->IsRunning());
  EXPECT_EQ(timer->interval(), 100);
  // The pointer stays: every check keeps it.
  fakes.timers.Advance(350);
  EXPECT_TRUE(lumen.lit());
  // The pointer leaves 30 ms after a check: gone at the next one.
  fakes.timers.Advance(30);
  PointerAway();
  const long long left_at = fakes.clock.now;
  while (lumen.lit() && fakes.clock.now - left_at < 500) fakes.timers.Advance(10);
  EXPECT_FALSE(lumen.lit());
  EXPECT_LE(fakes.clock.now - left_at, 200);
  EXPECT_EQ(lumen.look(), LumenLook::kNone);
  EXPECT_EQ(lumen.timer_id(), 0);
  EXPECT_FALSE(timer->IsRunning());
}

TEST_F(LumenTest, PointerOverAnotherWindowInsideTheRectangleRemovesIt) {
  auto* check = Get<TZQCheckBox>(ids::kInvertSlash);
  MoveOver(check);
  EXPECT_EQ(check->lumen().look(), LumenLook::kDotted);
  // Still inside the rectangle, but another window is on top there.
  fakes.pointer.at = [this](const wxPoint&) { return dlg->FindWindow(ids::kModeFull); };
  fakes.timers.Advance(100);
  EXPECT_FALSE(check->lumen().lit());
}

TEST_F(LumenTest, NothingWhileAButtonOrModifierIsHeld) {
  auto* radio = Get<TZQRadioButton>(ids::kModeFull);
  MoveOver(radio, wxMOD_CONTROL);
  EXPECT_FALSE(radio->lumen().lit());
  MoveOver(radio, wxMOD_SHIFT);
  EXPECT_FALSE(radio->lumen().lit());
  MoveOver(radio, 0, true);
  EXPECT_FALSE(radio->lumen().lit());
  EXPECT_EQ(fakes.timers.Running(), 0);
  MoveOver(radio);
  EXPECT_TRUE(radio->lumen().lit());
}

TEST_F(LumenTest, FocusedEditIsLitWithoutOutlineOrTimer) {
  auto* edit = Get<TZQEditCursor>(ids::kHeader);
  edit->SetFocus();
  Yield();
  if (!edit->HasFocus()) GTEST_SKIP() << "the display gives no keyboard focus";
  MoveOver(edit);
  EXPECT_TRUE(edit->lumen().lit());
  EXPECT_EQ(edit->lumen().look(), LumenLook::kNone);
  EXPECT_EQ(edit->lumen().timer_id(), 0);
  EXPECT_EQ(fakes.timers.Running(), 0);
}

TEST_F(LumenTest, ButtonTakesAHoverTintAndLosesIt) {
  auto* up = Get<TAutoButton>(ids::kMoveUp);
  MoveOver(up);
  EXPECT_EQ(up->lumen().look(), LumenLook::kTinted);
  // A second move keeps the tint.
  MoveOver(up);
  EXPECT_EQ(up->lumen().look(), LumenLook::kTinted);
  PointerAway();
  fakes.timers.Advance(100);
  EXPECT_FALSE(up->lumen().lit());
  EXPECT_EQ(up->lumen().look(), LumenLook::kNone);
}

TEST_F(LumenTest, DefaultButtonGetsARaisedEdge) {
  auto* down = Get<TAutoButton>(ids::kMoveDown);
  dlg->SetDefaultItem(down);
  MoveOver(down);
  EXPECT_EQ(down->lumen().look(), LumenLook::kRaisedEdge);
  EXPECT_TRUE(down->lumen().lit());
}

TEST_F(LumenTest, RepaintedButtonFaceClearsTheHighlight) {
  auto* up = Get<TAutoButton>(ids::kMoveUp);
  MoveOver(up);
  ASSERT_TRUE(up->lumen().lit());
  wxEraseEvent erase(up->GetId());
  erase.SetEventObject(up);
  EXPECT_TRUE(up->ProcessWindowEvent(erase));  // handled, never erased
  EXPECT_FALSE(up->lumen().lit());
  EXPECT_EQ(up->lumen().look(), LumenLook::kNone);
}

TEST_F(LumenTest, FocusLossOfAButtonIsHandledAndPassedOn) {
  auto* up = Get<TAutoButton>(ids::kMoveUp);
  bool passed_on = false;
  up->Bind(wxEVT_KILL_FOCUS, [&](wxFocusEvent& e) {
    passed_on = true;
    e.Skip();
  });
  wxFocusEvent lost(wxEVT_KILL_FOCUS, up->GetId());
  lost.SetEventObject(up);
  up->ProcessWindowEvent(lost);
  EXPECT_TRUE(passed_on);
}

TEST_F(LumenTest, ACursorNameThatNamesNoResourceHidesThePointer) {
  auto* view = Get<TZQButton>(ids::kView);
  view->Setup("CUR_NOWHERE", "");
  // The loader knows no such cursor; the control still gets one of its own: the blank one.
  EXPECT_FALSE(TestCursors("CUR_NOWHERE").IsOk());
  EXPECT_TRUE(view->GetCursor().IsOk());
  EXPECT_EQ(view->behaviour().cursor_name(), "CUR_NOWHERE");
  view->Setup("", "");  // a button without a name shows the arrow
  EXPECT_TRUE(view->GetCursor().IsOk());
}

TEST_F(LumenTest, HoveringManyTimesKeepsOneTimerPerControl) {
  const int live = fakes.timers.live;
  for (int i = 0; i < 200; ++i) {
    for (int id : {ids::kFileList, ids::kHeader, ids::kInvertSlash, ids::kModeFull, ids::kMoveUp}) {
      MoveOver(dlg->FindWindow(id));
      fakes.timers.Advance(37);
    }
  }
  PointerAway();
  fakes.timers.Advance(200);
  EXPECT_LE(fakes.timers.live, live + 5);
  EXPECT_EQ(fakes.timers.Running(), 0);
}

// The proportional rescale on a dialog of its own.
TEST_F(LumenTest, DoublingTheClientDoublesEveryControlButHighIds) {
  std::map<int, wxRect> before;
  for (wxWindow* child : dlg->GetChildren()) before[child->GetId()] = child->GetRect();
  const wxSize client = dlg->GetClientSize();
  ASSERT_EQ(client, dlg->initial_client_size());
  dlg->SetClientSize(client * 2);
  Yield();
  if (dlg->GetClientSize() != client * 2) GTEST_SKIP() << "the display kept the size";
  for (wxWindow* child : dlg->GetChildren()) {
    const wxRect was = before[child->GetId()];
    const wxRect now = child->GetRect();
    if (child->GetId() >= 1000 && child->GetId() < wxID_LOWEST) {
      EXPECT_EQ(now, was) << child->GetId();
      continue;
    }
    EXPECT_NEAR(now.GetX(), was.GetX() * 2, 1) << child->GetId();
    EXPECT_NEAR(now.GetY(), was.GetY() * 2, 1) << child->GetId();
    EXPECT_NEAR(now.GetWidth(), was.GetWidth() * 2, 1) << child->GetId();
    EXPECT_NEAR(now.GetHeight(), was.GetHeight() * 2, 1) << child->GetId();
  }
  EXPECT_NEAR(dlg->current_font().GetFractionalPointSize(),
              dlg->initial_font().GetFractionalPointSize() * 2, 1.0);
  const int count = dlg->rescale_count();
  // The same size again rescales nothing.
  wxSizeEvent again(dlg->GetSize(), dlg->GetId());
  again.SetEventObject(dlg);
  dlg->ProcessWindowEvent(again);
  EXPECT_EQ(dlg->rescale_count(), count);
}

TEST_F(LumenTest, WideningAtSetUp) {
  // The factor follows the dialog units of the toolkit's font.
  const wxSize units = dlg->ConvertDialogToPixels(wxSize(1000, 1000));
  EXPECT_GT(dlg->widening(), 1.0);
  EXPECT_NEAR(dlg->widening(), WideningFactor(units), 0.05);
  for (const StoredControl& stored : dlg->geometry_store()) {
    const auto* window = static_cast<const wxWindow*>(stored.handle);
    EXPECT_LT(window->GetId(), 1000);
  }
  EXPECT_EQ(dlg->geometry_store().size(), 7u);
}

}  // namespace
}  // namespace lq
