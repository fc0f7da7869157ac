// The main window as the display shows it, in the theme the run is given (a second run uses
// GTK_THEME=Adwaita:dark): every control whole inside the window, its text whole inside the
// control and readable on the control's own ground, room between a field's border and its
// text, and no black frame of the kit's own around a field, focused or not.
#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcmemory.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "resources/ids.h"
#include "shell/about_dlg.h"
#include "tests/gui/real/pixels.h"
#include "tests/gui/real/real_input.h"
#include "uikit/grafext/contrast.h"

namespace lq::test {
namespace {

// Where the ink of a text lies in an image: what stands out from its ground.
struct Ink {
  int left = 0;
  int top = 0;
  int right = -1;
  int bottom = -1;
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
  bool found() const { return right >= left; }
};

Ink InkOf(const wxImage& image, const wxColour& ground, double ratio) {
  Ink ink{image.GetWidth(), image.GetHeight(), -1, -1};
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      const wxColour c(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
      if (Contrast(c, ground) < ratio) continue;
      ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
    }
  }
  return ink;
}

// The ink of text in font, drawn whole in black on white: what the control must show of it.
Ink WholeInk(const wxString& text, const wxFont& font) {
  wxBitmap bitmap(600, 100);
  wxMemoryDC dc(bitmap);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  dc.SetFont(font);
  dc.SetTextForeground(*wxBLACK);
  dc.DrawText(text, 10, 10);
  dc.SelectObject(wxNullBitmap);
  return InkOf(bitmap.ConvertToImage(), *wxWHITE, 2.0);
}

bool IsIndicator(const wxWindow* w) {
  return dynamic_cast<const wxCheckBox*>(w) != nullptr ||
         dynamic_cast<const wxRadioButton*>(w) != nullptr;
}

// The text a control shows, as the toolkit draws it.
wxString TextShown(const wxWindow* w) {
  if (auto* field = dynamic_cast<const wxTextCtrl*>(w)) return field->GetValue().BeforeFirst('\n');
  return wxControl::GetLabelText(w->GetLabel());
}

// A text with a capital, an ascender and descenders: all of a line's height.
constexpr const char* kProbe = "Hgjy Qd";

class LookRealTest : public RealInputTest {
 protected:
  void StartWithTexts() {
    Start();
    if (!Ready()) return;
    for (int id : {ids::kHeader, ids::kQueue, ids::kOutFileField, ids::kMainHeadField,
                   ids::kMainQueueField}) {
      static_cast<wxTextCtrl*>(Control(id))->ChangeValue(kProbe);
    }
    Pump(300);  // GTK draws on its frame clock
  }
  std::vector<wxWindow*> Shown() const {
    std::vector<wxWindow*> shown;
    for (wxWindow* child : dlg()->GetChildren()) {
      if (child->IsShown() && child->IsKindOf(wxCLASSINFO(wxControl))) shown.push_back(child);
    }
    return shown;
  }
  // The part of a control where its text lies: inside its border, past a check box's or
  // radio button's indicator.
  static wxRect TextArea(const wxWindow* w) {
    wxRect r = w->GetScreenRect();
    if (IsIndicator(w)) {
      // GTK's indicator, 16 pixels, and some of the room it keeps before the label.
      const int skip = 20 * static_cast<int>(w->GetContentScaleFactor());
      r.SetX(r.GetX() + skip);
      r.SetWidth(r.GetWidth() - skip);
      return r;
    }
    if (auto* box = dynamic_cast<const wxStaticBox*>(w)) {
      // The label's band along the top.
      r.SetHeight(box->GetCharHeight() + 4);
      return r;
    }
    return r.Deflate(2);
  }
};

TEST_F(LookRealTest, EveryControlLiesWholeInsideTheWindowAndItsGroup) {
  StartWithTexts();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  const wxRect parent(dlg()->GetScreenPosition(), dlg()->GetClientSize());
  const std::vector<wxWindow*> shown = Shown();
  ASSERT_GE(shown.size(), 20u);
  for (wxWindow* child : shown) {
    const wxRect r = child->GetScreenRect();
    SCOPED_TRACE("control " + std::to_string(child->GetId()) + " \"" +
                 TextShown(child).utf8_string() + "\"");
    EXPECT_TRUE(parent.Contains(r)) << r.x << ',' << r.y << ' ' << r.width << 'x' << r.height;
    EXPECT_TRUE(wxRect(frame_->GetScreenRect()).Contains(r));
    // A control that reaches into a group lies whole inside it, clear of its frame.
    for (wxWindow* other : shown) {
      auto* box = dynamic_cast<wxStaticBox*>(other);
      if (box == nullptr || other == child || !box->GetScreenRect().Intersects(r)) continue;
      EXPECT_TRUE(box->GetScreenRect().Deflate(2).Contains(r)) << "across " << box->GetLabel();
    }
    // And 6 pixels or more from the window's edges.
    EXPECT_GE(r.GetLeft() - parent.GetLeft(), 6);
    EXPECT_GE(r.GetTop() - parent.GetTop(), 6);
    EXPECT_GE(parent.GetRight() - r.GetRight(), 6);
    EXPECT_GE(parent.GetBottom() - r.GetBottom(), 6);
  }
}

TEST_F(LookRealTest, EveryTextShowsWholeAndReadsOnItsGround) {
  StartWithTexts();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  int texts = 0;
  for (wxWindow* child : Shown()) {
    const wxString text = TextShown(child);
    if (text.empty()) continue;
    SCOPED_TRACE("control " + std::to_string(child->GetId()) + " \"" + text.utf8_string() + "\"");
    const wxImage shot = Grab(TextArea(child));
    const wxColour ground = MostCommonColour(shot);
    const Ink whole = WholeInk(text, child->GetFont());
    ASSERT_TRUE(whole.found());
    // A disabled control's text is meant to read less; it still shows whole.
    const bool enabled = child->IsEnabled();
    if (enabled) {
      EXPECT_GE(HighestContrast(shot, ground), kReadableContrast)
          << "on " << ground.GetAsString(wxC2S_HTML_SYNTAX);
    }
    const Ink ink = InkOf(shot, ground, enabled ? 2.0 : 1.4);
    ASSERT_TRUE(ink.found()) << "no text shows";
    EXPECT_GE(ink.height(), whole.height() - 1) << "cut above or below";
    EXPECT_GE(ink.width(), whole.width() - 2) << "cut at a side";
    ++texts;
  }
  EXPECT_GE(texts, 20);
}

TEST_F(LookRealTest, FieldsKeepRoomBetweenTheirBorderAndTheirText) {
  StartWithTexts();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  for (int id : {ids::kHeader, ids::kOutFileField, ids::kMainHeadField, ids::kMainQueueField}) {
    const wxWindow* field = Control(id);
    SCOPED_TRACE("field " + std::to_string(id));
    // Inside the border, whatever colour the theme gives it.
    const wxImage inside = Grab(field->GetScreenRect().Deflate(2));
    const Ink ink = InkOf(inside, MostCommonColour(inside), 2.0);
    ASSERT_TRUE(ink.found());
    EXPECT_GE(ink.left, 3) << "the text touches the left border";
    EXPECT_GE(ink.top, 0);
    EXPECT_LE(ink.bottom, inside.GetHeight() - 1);
  }
}

// A button the pointer pressed shows the focus no more than one never focused: no ring and
// no dotted outline of the theme's, also after the keyboard had shown the focus before.
TEST_F(LookRealTest, AClickedButtonLooksAsBeforeItHadTheFocus) {
  StartWithTexts();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  wxWindow* button = Control(ids::kMoveUp);  // does nothing to an empty list
  const wxRect around = button->GetScreenRect().Inflate(3);
  const wxImage plain = Grab(around);
  for (int i = 0; i < 40 && wxWindow::FindFocus() != button; ++i) {
    const wxWindow* was = wxWindow::FindFocus();
    XLater("xdotool key Tab");
    PumpUntil([&] { return wxWindow::FindFocus() != was; }, 1000);
  }
  ASSERT_EQ(wxWindow::FindFocus(), button);
  MoveTo(CentreOf(ids::kMoveUp));
  XClick(1);
  Pump(100);
  MoveTo({1270, 1010});  // off it, so that its hover look goes
  Pump(400);
  ASSERT_EQ(wxWindow::FindFocus(), button);
  const wxImage clicked = Grab(around);
  int differ = 0;
  for (int y = 0; y < plain.GetHeight(); ++y) {
    for (int x = 0; x < plain.GetWidth(); ++x) {
      const int d = std::abs(plain.GetRed(x, y) - clicked.GetRed(x, y)) +
                    std::abs(plain.GetGreen(x, y) - clicked.GetGreen(x, y)) +
                    std::abs(plain.GetBlue(x, y) - clicked.GetBlue(x, y));
      differ += d > 30 ? 1 : 0;
    }
  }
  EXPECT_LE(differ, 4) << "pixels that show the focus after the click";
}

// The About box's texts, the version and the copyright line filled in when it is made, each
// inside its own control and inside the box.
TEST_F(LookRealTest, TheAboutBoxShowsEveryTextWhole) {
  StartWithTexts();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  auto* about = new AboutDlg(frame_);
  about->Show();
  PumpUntil([&] { return about->IsShownOnScreen(); }, 2000);
  Pump(300);
  int texts = 0;
  const wxRect box(wxPoint(0, 0), about->GetClientSize());
  for (wxWindow* child : about->GetChildren()) {
    EXPECT_TRUE(box.Contains(child->GetRect())) << child->GetLabel();
    auto* text = dynamic_cast<wxStaticText*>(child);
    if (text == nullptr) continue;
    int width = 0;
    int height = 0;
    text->GetTextExtent(text->GetLabel(), &width, &height);
    for (const wxString& line : wxSplit(text->GetLabel(), '\n')) {
      width = std::max(width, text->GetTextExtent(line).x);
    }
    EXPECT_LE(width, text->GetSize().GetWidth()) << "\"" << text->GetLabel() << "\" is cut";
    ++texts;
  }
  EXPECT_EQ(texts, 3);
  about->Destroy();
  Pump(100);
}

class NoBlackFrameTest : public LookRealTest, public testing::WithParamInterface<int> {};

TEST_P(NoBlackFrameTest, AroundAFieldFocusedOrNot) {
  StartWithTexts();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  wxWindow* field = Control(GetParam());
  const auto black_in_ring = [&] {
    // The pixel ring just outside the field and its own outermost ring: where a frame of the
    // kit's, or a border drawn black, would lie.
    const wxRect r = field->GetScreenRect();
    const wxImage shot = Grab(wxRect(r).Inflate(2));
    int black = 0;
    int ring = 0;
    for (int y = 0; y < shot.GetHeight(); ++y) {
      for (int x = 0; x < shot.GetWidth(); ++x) {
        const bool edge = x <= 2 || y <= 2 || x >= shot.GetWidth() - 3 || y >= shot.GetHeight() - 3;
        if (!edge) continue;
        ++ring;
        black += shot.GetRed(x, y) + shot.GetGreen(x, y) + shot.GetBlue(x, y) < 30 ? 1 : 0;
      }
    }
    return std::make_pair(black, ring);
  };
  const auto [black_plain, ring] = black_in_ring();
  EXPECT_LT(black_plain, ring / 20) << "black before the focus";
  field->SetFocus();
  PumpUntil([&] { return wxWindow::FindFocus() == field; }, 1000);
  Pump(300);
  const auto [black_focused, ring_again] = black_in_ring();
  EXPECT_LT(black_focused, ring_again / 20) << "black around the focused field";
}

INSTANTIATE_TEST_SUITE_P(Fields, NoBlackFrameTest,
                         testing::Values(ids::kHeader, ids::kQueue, ids::kOutFileField,
                                         ids::kMainHeadField));

}  // namespace
}  // namespace lq::test
