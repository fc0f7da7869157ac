// The notice's text and its Cancel box read, as the display shows them, in the theme the run
// is given (a second run uses GTK_THEME=Adwaita:dark).
#include <string>

#include "tests/gui/real/pixels.h"
#include "tests/gui/real/real_input.h"
#include "uikit/exten/zq_mex.h"
#include "uikit/grafext/contrast.h"
#include "uikit/grafext/kit_services.h"

namespace lq::test {
namespace {

class NoticeContrastTest : public RealInputTest {
 protected:
  void TearDown() override {
    if (CurrentMex() != nullptr) ShowMex(nullptr, nullptr, nullptr, 0, 0, KitClock(), &beeper_);
    RealInputTest::TearDown();
  }

  // The screenshot of a part of the notice's client area.
  static wxImage GrabOf(const TZQMex* mex, const wxRect& client_rect) {
    return Grab(wxRect(mex->ClientToScreen(client_rect.GetPosition()), client_rect.GetSize()));
  }
};

TEST_F(NoticeContrastTest, TextAndCancelBoxReadOnTheNotice) {
  Start();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  const std::string text = "Copying files, wait...";
  const std::string caption = "Halvorn Loomquill";
  ShowMex(frame_, &text, &caption, kMexIconInformation | kMexCancelBox, 0, KitClock(), &beeper_);
  TZQMex* mex = CurrentMex();
  ASSERT_NE(mex, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return mex->IsShownOnScreen(); }));
  Pump(300);  // GTK draws on its frame clock

  const wxSize line = mex->GetTextExtent(wxString::FromUTF8(text));
  const wxImage words = GrabOf(mex, wxRect(mex->icon_space() + 20, 10, line.x, line.y));
  const wxColour face = MostCommonColour(words);
  EXPECT_GE(HighestContrast(words, face), kReadableContrast)
      << "text on " << face.GetAsString(wxC2S_HTML_SYNTAX);

  // Inside the box's border, which is no text.
  const wxRect box =
      MexCancelBox(mex->GetClientSize(), mex->cancel_width(), mex->line_height()).Deflate(2);
  const wxImage cancel = GrabOf(mex, box);
  const wxColour box_face = MostCommonColour(cancel);
  EXPECT_GE(HighestContrast(cancel, box_face), kReadableContrast)
      << "Cancel on " << box_face.GetAsString(wxC2S_HTML_SYNTAX);
}

}  // namespace
}  // namespace lq::test
