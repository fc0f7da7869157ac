// Drops under a real Wayland compositor (tests/support/with_weston.sh): a GTK drag source,
// itself a Wayland program, dragged with weston's pointer onto the main dialog.
#include <wx/listbox.h>

#include "platform/compositor.h"
#include "resources/ids.h"
#include "tests/gui/drop/x_drag.h"
#include "tests/gui/shell/shell_fixture.h"
#include "tests/gui/wayland/weston_scene.h"

namespace lq::test {
namespace {

class WaylandDropTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ASSERT_TRUE(OnWayland()) << "run inside tests/support/with_weston.sh";
    if (Capture("command -v xdotool").empty() ||
        std::system("/usr/bin/python3 -c 'import gi; gi.require_version(\"Gtk\", \"3.0\"); "
                    "from gi.repository import Gtk' >/dev/null 2>&1") != 0) {
      GTEST_SKIP() << "needs xdotool and python3-gi with GTK 3 (tools/install-deps.sh)";
    }
    fs::create_directories(work_ / "src" / "Folder");
    WriteAll(work_ / "src" / "x.txt", "");
    Start();
    ASSERT_TRUE(PumpUntil(
        [this] { return WestonViewOf(frame()->GetTitle().utf8_string()).has_value(); }, 10000));
    PumpUntil([] { return false; }, 300);
  }

  // The middle of a control of the main dialog, on weston's output.
  wxPoint Centre(int id) const {
    const wxWindow* control = dlg()->FindWindow(id);
    const wxSize size = control->GetSize();
    return OnWestonOutput(control->GetParent(),
                          control->GetPosition() + wxPoint(size.x / 2, size.y / 2));
  }
};

TEST_F(WaylandDropTest, FilesDroppedOnTheListAreAdded) {
  ASSERT_TRUE(XDrag({Src("x.txt"), Src("Folder")}, Centre(ids::kFileList)));
  EXPECT_TRUE(PumpUntil([&] { return Items().size() == 2; }));
  EXPECT_EQ(Items(), (std::vector<std::string>{Src("x.txt"), Src("Folder")}));
}

// The disabled field hands its drop to the dialog; the pointer's place, which Wayland gives
// only inside our own windows, decides that it was meant for the field.
TEST_F(WaylandDropTest, AFolderOnTheRelativePathFieldSetsTheRelativeFolder) {
  prompts_.answers = {Answer::kYes};
  ASSERT_TRUE(XDrag({Src("Folder")}, Centre(ids::kRelPathField)));
  EXPECT_TRUE(PumpUntil([&] { return !prompts_.messages.empty(); }));
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].text,
            "Do you want set Relative path to:\n\n" + Src("Folder") + "/ ?");
  EXPECT_EQ(Field(ids::kRelPathField), Src("Folder") + "/");
  EXPECT_TRUE(Items().empty());
}

}  // namespace
}  // namespace lq::test
