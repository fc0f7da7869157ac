// Labels on the dialogs' own grey read, as the display shows them, in the theme the run is
// given (a second run uses GTK_THEME=Adwaita:dark).
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>

#include "resources/ids.h"
#include "tests/gui/real/pixels.h"
#include "tests/gui/real/real_input.h"
#include "uikit/grafext/contrast.h"

namespace lq::test {
namespace {

using LabelContrastTest = RealInputTest;

TEST_F(LabelContrastTest, RadioCheckAndTextLabelsReadOnTheGrey) {
  Start();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  Pump(300);
  int labels = 0;
  for (wxWindow* child : dlg()->GetChildren()) {
    const bool indicator = dynamic_cast<wxCheckBox*>(child) != nullptr ||
                           dynamic_cast<wxRadioButton*>(child) != nullptr;
    if (!child->IsShown() || (!indicator && dynamic_cast<wxStaticText*>(child) == nullptr)) {
      continue;
    }
    wxRect text = child->GetScreenRect();
    // Only the label's text: the check box or radio circle is the theme's own.
    const int skip = indicator ? text.GetHeight() + 6 : 0;
    text.SetX(text.GetX() + skip);
    text.SetWidth(std::min(text.GetWidth() - skip, child->GetTextExtent(child->GetLabel()).x));
    if (text.GetWidth() < 4 || child->GetLabel().empty()) continue;
    const wxImage shot = Grab(text);
    const wxColour ground = MostCommonColour(shot);
    EXPECT_GE(HighestContrast(shot, ground), kReadableContrast)
        << child->GetLabel() << " on " << ground.GetAsString(wxC2S_HTML_SYNTAX);
    ++labels;
  }
  EXPECT_GE(labels, 5);
}

TEST_F(LabelContrastTest, TheTipsTextReadsOnItsFace) {
  Start();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  Hover(ids::kFileList);
  ASSERT_TRUE(PumpUntil([&] { return tip()->IsShown(); }));
  Pump(300);  // GTK draws on its frame clock
  const wxImage shot = Grab(tip()->GetScreenRect().Deflate(2));
  const wxColour face = MostCommonColour(shot);
  EXPECT_GE(HighestContrast(shot, face), kReadableContrast)
      << "on " << face.GetAsString(wxC2S_HTML_SYNTAX);
}

}  // namespace
}  // namespace lq::test
