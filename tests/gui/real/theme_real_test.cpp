// The main dialog in the theme the run is given (a second run uses GTK_THEME=Adwaita:dark), as
// the display shows it: the theme's background all over, group labels clear of their
// frames, and a focus ring on the control the keyboard moved the focus to, none on one the
// pointer pressed.
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "resources/ids.h"
#include "tests/gui/real/pixels.h"
#include "tests/gui/real/real_input.h"
#include "uikit/grafext/contrast.h"
#include "uikit/grafext/face_colours.h"

namespace lq::test {
namespace {

bool DarkRun() {
  const char* theme = std::getenv("GTK_THEME");
  return theme != nullptr && std::string(theme).find(":dark") != std::string::npos;
}

wxColour At(const wxImage& image, int x, int y) {
  return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
}

int Distance(const wxColour& a, const wxColour& b) {
  return std::abs(a.Red() - b.Red()) + std::abs(a.Green() - b.Green()) +
         std::abs(a.Blue() - b.Blue());
}

std::string Html(const wxColour& c) { return c.GetAsString(wxC2S_HTML_SYNTAX).ToStdString(); }

class ThemeRealTest : public RealInputTest {
 protected:
  wxImage Shot(const wxWindow* control, int grow = 0) const {
    return Grab(control->GetScreenRect().Inflate(grow));
  }
  // Pixels of the ring's colour in now that were not there in before.
  static int RingPixels(const wxImage& before, const wxImage& now, const wxColour& ring) {
    int count = 0;
    for (int y = 0; y < now.GetHeight(); ++y) {
      for (int x = 0; x < now.GetWidth(); ++x) {
        if (Distance(At(now, x, y), ring) < 40 && Distance(At(before, x, y), ring) >= 40) ++count;
      }
    }
    return count;
  }
  // Tab until the focus is on control; false when it never comes there.
  bool TabTo(const wxWindow* control) {
    for (int i = 0; i < 40 && wxWindow::FindFocus() != control; ++i) {
      const wxWindow* was = wxWindow::FindFocus();
      XLater("xdotool key Tab");
      PumpUntil([&] { return wxWindow::FindFocus() != was; }, 1000);
    }
    return wxWindow::FindFocus() == control;
  }
  void ClickAt(const wxPoint& screen_point) {
    MoveTo(screen_point);
    XClick(1);
    Pump(100);
    // Off the control again, so that its hover highlight goes.
    MoveTo({1270, 1010});
    Pump(300);
  }
};

TEST_F(ThemeRealTest, TheDialogIsPaintedWithTheThemesBackground) {
  Start();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  Pump(300);
  const wxColour theme = ThemeDialogColours().background;
  EXPECT_EQ(dlg()->GetBackgroundColour(), theme);
  if (DarkRun()) {
    EXPECT_LT(Luminance(theme), 0.18) << Html(theme);
  }
  // The whole client as shown, where no control lies: the theme's background, and the old
  // fixed grey nowhere, unless the theme itself is that grey.
  const wxImage shot = Grab(wxRect(dlg()->GetScreenPosition(), dlg()->GetClientSize()));
  const wxColour grey(192, 192, 192);
  int free = 0;
  int themed = 0;
  int greys = 0;
  for (int y = 0; y < shot.GetHeight(); ++y) {
    for (int x = 0; x < shot.GetWidth(); ++x) {
      bool covered = false;
      for (wxWindow* child : dlg()->GetChildren()) {
        if (child->IsShown() && child->GetRect().Inflate(3).Contains(x, y)) covered = true;
      }
      if (covered) continue;
      ++free;
      themed += At(shot, x, y) == theme ? 1 : 0;
      greys += At(shot, x, y) == grey ? 1 : 0;
    }
  }
  ASSERT_GT(free, 1000);
  EXPECT_GE(themed, free * 95 / 100) << "of " << free << " pixels, in " << Html(theme);
  if (theme != grey) {
    EXPECT_EQ(greys, 0) << "pixels of the fixed light grey";
  }
  // The labels on it read.
  EXPECT_GE(Contrast(theme, ThemeDialogColours().text), kReadableContrast);
}

TEST_F(ThemeRealTest, NoGroupFrameLineTouchesItsLabel) {
  Start();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  Pump(300);
  const wxColour ground = dlg()->GetBackgroundColour();
  int boxes = 0;
  int lines = 0;
  for (wxWindow* child : dlg()->GetChildren()) {
    auto* box = dynamic_cast<wxStaticBox*>(child);
    if (box == nullptr || !box->IsShown() || box->GetLabel().empty()) continue;
    SCOPED_TRACE(box->GetLabel().ToStdString());
    ++boxes;
    // The band of the label: the box's top, as high as a line of text and some.
    const wxRect box_rect = box->GetScreenRect();
    const int text_width = box->GetTextExtent(box->GetLabel()).x;
    const wxImage band =
        Grab(wxRect(box_rect.GetX(), box_rect.GetY(),
                    std::min(box_rect.GetWidth(), text_width + 60), box->GetCharHeight() + 6));
    // The label's ink: what reads on the background. A frame line never reads as text does.
    int left = band.GetWidth(), right = -1, top = band.GetHeight(), bottom = -1;
    for (int y = 0; y < band.GetHeight(); ++y) {
      for (int x = 0; x < band.GetWidth(); ++x) {
        if (Contrast(At(band, x, y), ground) < kVisibleContrast) continue;
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
    }
    ASSERT_GE(right, left) << "no label shows";
    // The frame's top line: the row with the longest run of one colour other than the
    // background's, right of the label.
    int line_row = -1;
    wxColour line;
    int longest = 0;
    for (int y = 0; y < band.GetHeight(); ++y) {
      int run = 0;
      for (int x = right + 1; x < band.GetWidth(); ++x) {
        const wxColour c = At(band, x, y);
        run = c != ground && (run == 0 || c == At(band, x - 1, y)) ? run + 1 : 0;
        if (run > longest) longest = run, line_row = y, line = c;
      }
    }
    // A theme may draw group frames without a line, which then touches nothing.
    if (longest < 20) continue;
    ++lines;
    // No pixel of the line within two pixels of the ink, on the line's row.
    if (line_row < top - 2 || line_row > bottom + 2) continue;
    for (int x = std::max(0, left - 2); x <= std::min(band.GetWidth() - 1, right + 2); ++x) {
      const bool of_line =
          Distance(At(band, x, line_row), line) < 12 &&
          ((x > 0 && Distance(At(band, x - 1, line_row), line) < 12) ||
           (x + 1 < band.GetWidth() && Distance(At(band, x + 1, line_row), line) < 12));
      EXPECT_FALSE(of_line) << "the line runs at x " << x << " of ink " << left << ".." << right
                            << ", row " << line_row << " of " << top << ".." << bottom;
    }
  }
  EXPECT_EQ(boxes, 2);
  // Adwaita, light or dark, draws the line.
  const char* theme = std::getenv("GTK_THEME");
  if (theme == nullptr || std::string(theme).rfind("Adwaita", 0) == 0) {
    EXPECT_EQ(lines, 2);
  }
}

class FocusRingTest : public ThemeRealTest, public testing::WithParamInterface<int> {};

TEST_P(FocusRingTest, ARingAfterTabNoneAfterAClick) {
  Start();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  Pump(300);
  wxWindow* control = Control(GetParam());
  ASSERT_NE(control, nullptr);
  const wxColour ring = ThemeDialogColours().focus;
  EXPECT_GE(Contrast(ring, dlg()->GetBackgroundColour()), kVisibleContrast) << Html(ring);
  // Nowhere near the control yet: its look without the focus.
  ASSERT_NE(wxWindow::FindFocus(), control);
  const wxImage plain = Shot(control);

  ASSERT_TRUE(TabTo(control));
  Pump(300);  // GTK draws on its frame clock
  EXPECT_TRUE(KeyboardFocusShown(control));
  const wxImage by_keyboard = Shot(control);
  const wxSize size = control->GetSize();
  // A ring of two pixels around the control's box, or at least around its label.
  EXPECT_GE(RingPixels(plain, by_keyboard, ring), size.GetWidth() / 2 + size.GetHeight())
      << "ring " << Html(ring);

  // A click on it, where it takes no other look: the label of a check box or radio button
  // (clicked twice, the check box is as it was), the face of a button.
  const wxRect r = control->GetScreenRect();
  const wxPoint spot(r.GetX() + r.GetWidth() * 2 / 3, r.GetY() + r.GetHeight() / 2);
  ClickAt(spot);
  if (dynamic_cast<wxCheckBox*>(control) != nullptr) ClickAt(spot);
  EXPECT_EQ(wxWindow::FindFocus(), control);
  EXPECT_FALSE(KeyboardFocusShown(control));
  EXPECT_LE(RingPixels(plain, Shot(control), ring), 4) << "a ring after the click";
}

// A button that does nothing to an empty list, a check box and the checked radio button.
INSTANTIATE_TEST_SUITE_P(Kinds, FocusRingTest,
                         testing::Values(ids::kMoveUp, ids::kInvertSlash, ids::kModeFull));

}  // namespace
}  // namespace lq::test
