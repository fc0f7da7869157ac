// The hover highlight of push buttons as the display shows it, in the theme the run is given.
#include <wx/dialog.h>
#include <wx/timer.h>

#include "resources/ids.h"
#include "tests/gui/real/pixels.h"
#include "tests/gui/real/real_input.h"
#include "uikit/grafext/contrast.h"
#include "uikit/grafext/controls.h"

namespace lq::test {
namespace {

class ButtonHoverTest : public RealInputTest {
 protected:
  // The button's face, inside the toolkit's border and rounded corners.
  wxImage Face(int id) const { return Grab(Control(id)->GetScreenRect().Deflate(4)).Copy(); }
};

TEST_F(ButtonHoverTest, TheHighlightReadsAsHoverNotAsAnInversion) {
  Start();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  Pump(200);
  const wxImage before = Face(ids::kSetMainQueue);
  const wxColour plain = MostCommonColour(before);
  Hover(ids::kSetMainQueue);
  Hover(ids::kSetMainQueue, {2, 1});
  ASSERT_TRUE(PumpUntil([&] { return LumenOf(Control(ids::kSetMainQueue))->lit(); }));
  Pump(300);  // GTK draws on its frame clock
  const wxImage after = Face(ids::kSetMainQueue);
  const wxColour lit = MostCommonColour(after);
  // Visibly changed, yet light stays light and dark stays dark: a face inverted by XOR 0x80
  // has a contrast of 4 or more with its own.
  const int change = std::abs(lit.Red() - plain.Red()) + std::abs(lit.Green() - plain.Green()) +
                     std::abs(lit.Blue() - plain.Blue());
  EXPECT_GT(change, 24) << plain.GetAsString(wxC2S_HTML_SYNTAX) << " "
                        << lit.GetAsString(wxC2S_HTML_SYNTAX);
  EXPECT_LT(Contrast(lit, plain), 2.0)
      << plain.GetAsString(wxC2S_HTML_SYNTAX) << " " << lit.GetAsString(wxC2S_HTML_SYNTAX);
  EXPECT_EQ(Luminance(lit) > 0.18, Luminance(plain) > 0.18);
  EXPECT_GE(HighestContrast(after, lit), kReadableContrast) << "the label does not read";
}

TEST_F(ButtonHoverTest, TheHighlightClearsWhileTheDialogTheButtonOpenedIsShown) {
  Start();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  const TMouseLumen* lumen = LumenOf(Control(ids::kSetMainHead));
  ASSERT_NE(lumen, nullptr);
  Hover(ids::kSetMainHead);
  Hover(ids::kSetMainHead, {2, 1});
  ASSERT_TRUE(PumpUntil([&] { return lumen->lit(); }));
  // Notes the highlight while the dialog's own loop runs, then closes the dialog.
  int dialog_samples = 0;
  bool lit_late = false;
  wxTimer sampler;
  sampler.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    for (wxWindow* top : wxTopLevelWindows) {
      auto* dialog = dynamic_cast<wxDialog*>(top);
      if (dialog == nullptr || !dialog->IsModal() || !dialog->IsShown()) continue;
      // After half a second the check timer has had its ticks.
      if (++dialog_samples > 25) lit_late = lumen->lit();
      if (dialog_samples == 40) dialog->EndModal(wxID_CANCEL);
    }
  });
  sampler.Start(20);
  XClick(1);
  PumpUntil([&] { return dialog_samples > 0; });
  PumpUntil([&] {
    for (wxWindow* top : wxTopLevelWindows) {
      if (auto* d = dynamic_cast<wxDialog*>(top); d != nullptr && d->IsModal()) return false;
    }
    return true;
  });
  sampler.Stop();
  EXPECT_GT(dialog_samples, 25);
  EXPECT_FALSE(lit_late) << "the button stays highlighted under the dialog it opened";
}

}  // namespace
}  // namespace lq::test
