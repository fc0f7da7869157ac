// The main window's fit on a real display: a larger dialog font grows the layout with it,
// and no control touches the window's edge.
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/display.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>

#include <filesystem>
#include <fstream>

#include "resources/ids.h"
#include "tests/gui/real/real_input.h"

namespace lq::test {
namespace {

namespace fs = std::filesystem;

// Room a control needs beside its text: the check or radio indicator, a button's border.
int Padding(const wxWindow* control) {
  if (dynamic_cast<const wxCheckBox*>(control) || dynamic_cast<const wxRadioButton*>(control)) {
    return 18;
  }
  if (dynamic_cast<const wxButton*>(control)) return 4;
  return 0;
}

class FitTest : public RealInputTest, public testing::WithParamInterface<int> {
 protected:
  void StartWithFontHeight(int height) {
    fs::create_directories(context_.settings_file.parent_path());
    std::ofstream(context_.settings_file)
        << "[Loomquill]\nlfHeight=" << height << "\nlfFaceName=DejaVu Sans\n";
    Start();
  }
};

TEST_P(FitTest, EveryLabelShowsWholeAndNoControlTouchesTheEdge) {
  StartWithFontHeight(GetParam());
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  const wxSize client = dlg()->GetClientSize();
  for (wxWindow* child : dlg()->GetChildren()) {
    const wxString label = child->GetLabel();
    if (dynamic_cast<wxStaticText*>(child) || dynamic_cast<wxButton*>(child) ||
        dynamic_cast<wxCheckBox*>(child) || dynamic_cast<wxRadioButton*>(child)) {
      int width = 0;
      int height = 0;
      const wxFont font = child->GetFont();
      child->GetTextExtent(label, &width, &height, nullptr, nullptr, &font);
      EXPECT_LE(width + Padding(child), child->GetSize().GetWidth())
          << '"' << label.utf8_string() << "\" is cut";
    }
    const wxRect r = child->GetRect();
    EXPECT_LT(r.GetRight(), client.GetWidth() - 1) << "control " << child->GetId();
    EXPECT_LT(r.GetBottom(), client.GetHeight() - 1) << "control " << child->GetId();
  }
  // Never larger than the work area, whatever the scale (GDK_SCALE=2 in a run of its own).
  const wxRect area = wxDisplay(0u).GetClientArea();
  EXPECT_LE(frame_->GetSize().GetWidth(), area.GetWidth());
  EXPECT_LE(frame_->GetSize().GetHeight(), area.GetHeight());
  // The counter's whole field shows inside the frame.
  const wxRect counter = Control(ids::kCounter)->GetScreenRect();
  const wxRect frame_client(frame_->GetScreenPosition() + frame_->GetClientAreaOrigin(),
                            frame_->GetClientSize());
  EXPECT_TRUE(frame_client.Contains(counter))
      << "counter " << counter.GetRight() << " beyond " << frame_client.GetRight();
}

// 9 pt, the usual default, and 12 pt, as chosen with File > Font.
INSTANTIATE_TEST_SUITE_P(Fonts, FitTest, testing::Values(-12, -16),
                         [](const testing::TestParamInfo<int>& p) {
                           return std::to_string(-p.param) + "px";
                         });

}  // namespace
}  // namespace lq::test
