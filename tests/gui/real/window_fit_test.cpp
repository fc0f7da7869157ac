// The main window made narrower and shorter than its start size on a real display: it takes
// the size, every control shows whole inside the window, no two overlap, and GTK says
// nothing critical about the sizes it is given, in the usual font and in a large bold one.
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

#include "resources/ids.h"
#include "tests/gui/real/real_input.h"
#include "tests/support/stderr_capture.h"

namespace lq::test {
namespace {

namespace fs = std::filesystem;

struct FontCase {
  const char* name;
  int height;
  int weight;
};

void PrintTo(const FontCase& font, std::ostream* out) { *out << font.name; }

class WindowFitTest : public RealInputTest, public testing::WithParamInterface<FontCase> {
 protected:
  void SetUp() override {
    RealInputTest::SetUp();
    if (IsSkipped()) return;
    stderr_.Start(root_ / "stderr.log");
  }

  void TearDown() override {
    RestoreStderr();
    RealInputTest::TearDown();
  }

  void RestoreStderr() { stderr_.Stop(); }
  std::string StderrText() const { return stderr_.Text(); }

  void StartWithFont() {
    fs::create_directories(context_.settings_file.parent_path());
    std::ofstream(context_.settings_file)
        << "[Loomquill]\nlfHeight=" << GetParam().height << "\nlfWeight=" << GetParam().weight
        << "\nlfFaceName=DejaVu Sans\n";
    Start();
  }

  // Asks the window manager for the size and waits until the dialog has laid it out.
  void ResizeTo(const wxSize& size) {
    frame_->SetSize(size);
    PumpUntil([&] { return frame_->GetSize() == size; }, 2000);
    Pump(300);
  }

  // Every control inside the frame's client area, in the frame's client coordinates.
  void ExpectEveryControlWholeAndApart(const std::string& where) {
    const wxRect client(wxPoint(0, 0), frame_->GetClientSize());
    std::vector<wxWindow*> shown;
    for (wxWindow* child : dlg()->GetChildren()) {
      if (child->IsShown() && child->IsKindOf(wxCLASSINFO(wxControl))) shown.push_back(child);
    }
    for (wxWindow* child : shown) {
      const wxRect r(frame_->ScreenToClient(child->GetScreenPosition()), child->GetSize());
      EXPECT_TRUE(client.Contains(r))
          << where << ": control " << child->GetId() << " at " << r.x << ',' << r.y << ' '
          << r.width << 'x' << r.height << " beyond " << client.width << 'x' << client.height;
      const wxString label = child->GetLabel();
      if (dynamic_cast<wxButton*>(child) || dynamic_cast<wxCheckBox*>(child) ||
          dynamic_cast<wxRadioButton*>(child)) {
        EXPECT_GE(child->GetSize().GetWidth(), child->GetBestSize().GetWidth())
            << where << ": \"" << label.utf8_string() << "\" is cut";
      }
    }
    // No two overlap; a group box holds its members, so only group boxes' labels and
    // other controls are kept apart from one.
    for (std::size_t i = 0; i < shown.size(); ++i) {
      for (std::size_t j = i + 1; j < shown.size(); ++j) {
        wxRect a = shown[i]->GetRect();
        wxRect b = shown[j]->GetRect();
        const bool box_a = dynamic_cast<wxStaticBox*>(shown[i]) != nullptr;
        const bool box_b = dynamic_cast<wxStaticBox*>(shown[j]) != nullptr;
        if (box_a && !box_b && a.Contains(b)) continue;
        if (box_b && !box_a && b.Contains(a)) continue;
        EXPECT_FALSE(a.Intersects(b))
            << where << ": controls " << shown[i]->GetId() << " (" << a.x << ',' << a.y << ' '
            << a.width << 'x' << a.height << ") and " << shown[j]->GetId() << " (" << b.x << ','
            << b.y << ' ' << b.width << 'x' << b.height << ") overlap";
      }
    }
  }

  StderrCapture stderr_;
};

TEST_P(WindowFitTest, ANarrowWindowShowsEveryControlWholeAndApart) {
  StartWithFont();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  const wxSize start = frame_->GetSize();
  // Narrow and as tall as the screen: the controls rearrange to the width.
  ResizeTo(wxSize(340, 1000));
  EXPECT_EQ(frame_->GetSize().GetWidth(), 340) << "the window does not shrink to 340 pixels";
  ExpectEveryControlWholeAndApart("340 x 1000");
  // Back to the start size: the resource's own layout again.
  ResizeTo(start);
  ExpectEveryControlWholeAndApart("the start size");
  RestoreStderr();
  const std::string said = StderrText();
  EXPECT_EQ(said.find("CRITICAL"), std::string::npos) << said;
}

TEST_P(WindowFitTest, AWindowTooSmallForItsControlsScrollsThemAndGtkSaysNothingCritical) {
  StartWithFont();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  // Through many sizes, shrinking and growing, as a hand drags the corner.
  for (const wxSize size : {wxSize(600, 420), wxSize(480, 360), wxSize(340, 300), wxSize(300, 240),
                            wxSize(420, 700), wxSize(900, 700)}) {
    ResizeTo(size);
  }
  ResizeTo(wxSize(320, 300));
  EXPECT_LE(frame_->GetSize().GetWidth(), 320);
  // Too short for the controls: the dialog keeps them whole and apart and scrolls.
  const wxSize dialog = dlg()->GetSize();
  for (wxWindow* child : dlg()->GetChildren()) {
    if (!child->IsShown() || !child->IsKindOf(wxCLASSINFO(wxControl))) continue;
    const wxRect r = child->GetRect();
    EXPECT_TRUE(wxRect(wxPoint(0, 0), dialog).Contains(r)) << "control " << child->GetId();
  }
  wxWindow* view = dlg()->GetParent();
  const wxSize visible = view->GetClientSize();
  EXPECT_LE(visible.GetWidth(), frame_->GetClientSize().GetWidth());
  if (dialog.GetHeight() > visible.GetHeight()) {
    EXPECT_TRUE(view->HasScrollbar(wxVERTICAL)) << "the dialog is cut, not scrolled";
  }
  RestoreStderr();
  const std::string said = StderrText();
  EXPECT_EQ(said.find("CRITICAL"), std::string::npos) << said;
}

INSTANTIATE_TEST_SUITE_P(Fonts, WindowFitTest,
                         testing::Values(FontCase{"Normal", -12, 400},
                                         FontCase{"LargeBold", -16, 700}),
                         [](const testing::TestParamInfo<FontCase>& p) { return p.param.name; });

}  // namespace
}  // namespace lq::test
