// Drops through the X server's drag-and-drop protocol, from a GTK drag source, onto each
// target of the main dialog.
#include <wx/listbox.h>

#include <mutex>
#include <regex>
#include <sstream>

#include "resources/ids.h"
#include "shell/drop_beeps.h"
#include "tests/gui/drop/x_drag.h"
#include "tests/gui/shell/shell_fixture.h"
#include "uikit/grafext/kit_services.h"

namespace lq::test {
namespace {

// Notes when each beep rang, on the clock the window uses.
class TimedBeeper : public Beeper {
 public:
  void Beep() override { at.push_back(KitClock().NowMs()); }
  std::vector<long long> at;
};

class RealDropTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    if (Capture("command -v xdotool").empty() ||
        std::system("/usr/bin/python3 -c 'import gi; gi.require_version(\"Gtk\", \"3.0\"); "
                    "from gi.repository import Gtk' >/dev/null 2>&1") != 0) {
      GTEST_SKIP() << "needs xdotool and python3-gi with GTK 3 (tools/install-deps.sh)";
    }
    fs::create_directories(work_ / "src" / "Folder");
    for (const char* f : {"x.txt", "y.txt", "z.txt"}) WriteAll(work_ / "src" / f, "");
    kit_.UseRealTime();  // the beeps' spacing as the display's real drop keeps it
    context_.services.beeper = &beeps_;
    Start();
    frame()->Raise();
    PumpUntil([] { return false; }, 300);
  }

  wxRect ScreenRect(int id) const { return dlg()->FindWindow(id)->GetScreenRect(); }
  wxPoint Centre(int id) const {
    const wxRect r = ScreenRect(id);
    return r.GetPosition() + wxSize(r.width / 2, r.height / 2);
  }
  void DragTo(const std::vector<std::string>& names, const wxPoint& to,
              const std::function<void()>& after_release = {}) {
    ASSERT_TRUE(XDrag(names, to, after_release)) << "the drag source did not come up";
  }

  TimedBeeper beeps_;
};

TEST_F(RealDropTest, AFolderOnTheRelativePathFieldSetsTheRelativeFolder) {
  // Off the field's centre too: the drop reaches the dialog in the field's own coordinates.
  const wxRect field = ScreenRect(ids::kRelPathField);
  for (const wxPoint& at : {Centre(ids::kRelPathField), field.GetTopRight() + wxPoint(-4, 3),
                            field.GetBottomLeft() + wxPoint(4, -3)}) {
    SCOPED_TRACE(testing::Message() << "at " << at.x << "," << at.y);
    prompts_.messages.clear();
    prompts_.answers = {Answer::kYes};
    DragTo({Src("Folder")}, at);
    EXPECT_TRUE(PumpUntil([&] { return !prompts_.messages.empty(); }));
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_EQ(prompts_.messages[0].text,
              "Do you want set Relative path to:\n\n" + Src("Folder") + "/ ?");
    EXPECT_EQ(Field(ids::kRelPathField), Src("Folder") + "/");
    EXPECT_TRUE(Items().empty());
  }
}

TEST_F(RealDropTest, AFileOnTheRelativePathFieldOffersItsFolder) {
  prompts_.answers = {Answer::kNo};
  DragTo({Src("x.txt")}, Centre(ids::kRelPathField));
  EXPECT_TRUE(PumpUntil([&] { return !prompts_.messages.empty(); }));
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].text,
            "Do you want set Relative path to:\n\n" + (work_ / "src").string() + "/ ?");
  EXPECT_TRUE(Items().empty());
}

TEST_F(RealDropTest, EachSettingControlAsksAndTheListTakesTheRest) {
  struct Case {
    int target;
    const char* name;
    const char* caption;
  };
  const Case cases[] = {
      {ids::kOutFileField, "x.txt", "Warning"},
      {ids::kSetOutputFile, "y.txt", "Warning"},
      {ids::kModeRelative, "z.txt", "Halvorn Loomquill"},
      {ids::kOutFileField, "Folder", "Halvorn Loomquill"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    prompts_.messages.clear();
    prompts_.answers = {Answer::kNo};
    DragTo({Src(c.name)}, Centre(c.target));
    EXPECT_TRUE(PumpUntil([&] { return !prompts_.messages.empty(); }));
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_EQ(prompts_.messages[0].caption, c.caption);
  }
  EXPECT_TRUE(Items().empty());
  DragTo({Src("x.txt"), Src("Folder")}, Centre(ids::kFileList));
  EXPECT_TRUE(PumpUntil([&] { return Items().size() == 2; }));
  EXPECT_EQ(Items(), (std::vector<std::string>{Src("x.txt"), Src("Folder")}));
}

// The X windows mapped on the root now, as "WxH+X+Y" geometries.
std::vector<wxRect> MappedWindows() {
  std::vector<wxRect> rects;
  std::istringstream lines(Capture("xwininfo -root -children 2>/dev/null"));
  const std::regex geometry(R"((\d+)x(\d+)\+(-?\d+)\+(-?\d+)\s+\+-?\d+\+-?\d+\s*$)");
  std::string line;
  std::smatch m;
  while (std::getline(lines, line)) {
    if (std::regex_search(line, m, geometry)) {
      rects.emplace_back(std::stoi(m[3]), std::stoi(m[4]), std::stoi(m[1]), std::stoi(m[2]));
    }
  }
  return rects;
}

TEST_F(RealDropTest, TheAutoDragMenuOpensWithItsRightEdgeAtTheDropPoint) {
  if (Capture("command -v xwininfo").empty()) GTEST_SKIP() << "needs xwininfo (x11-utils)";
  kit_.UsePopups(nullptr);  // the toolkit's own menu
  // Far enough from the screen's left edge that the toolkit need not push the menu back.
  frame()->Move(400, 100);
  PumpUntil([&] { return frame()->GetScreenPosition().x == 400; }, 2000);
  PumpUntil([] { return false; }, 300);
  const wxPoint at = Centre(ids::kAutoDrag);
  std::mutex seen_lock;
  std::vector<wxRect> menus;
  DragTo({Src("x.txt")}, at, [&] {
    // While the menu is open: the window that came up at the drop point's height.
    for (int i = 0; i < 100; ++i) {
      for (const wxRect& r : MappedWindows()) {
        if (r.y == at.y && r.width > 60 && r.height > 60) {
          std::lock_guard<std::mutex> lock(seen_lock);
          menus.push_back(r);
        }
      }
      if (!menus.empty()) break;
      std::system("sleep 0.05");
    }
    std::system("xdotool key Escape");
  });
  PumpUntil([] { return false; }, 300);
  ASSERT_FALSE(menus.empty()) << "no menu opened at y " << at.y;
  const wxRect menu = menus.front();
  EXPECT_NEAR(menu.GetRight() + 1, at.x, 2)
      << "menu at x " << menu.x << ", " << menu.width << " wide; drop at x " << at.x;
  EXPECT_EQ(dlg()->pending_file(), Src("x.txt"));
  EXPECT_TRUE(Items().empty());
}

TEST_F(RealDropTest, ABigDropRingsAtMostOncePer50Ms) {
  std::vector<std::string> many;
  for (int i = 0; i < 2000; ++i) {
    const fs::path file = work_ / "many" / ("file " + std::to_string(i) + ".txt");
    WriteAll(file, "");
    many.push_back(file.string());
  }
  DragTo(many, Centre(ids::kFileList));
  EXPECT_TRUE(PumpUntil([&] { return Items().size() == many.size(); }, 20000));
  ASSERT_FALSE(beeps_.at.empty());
  EXPECT_LT(beeps_.at.size(), 200u);
  for (std::size_t i = 1; i < beeps_.at.size(); ++i) {
    EXPECT_GE(beeps_.at[i] - beeps_.at[i - 1], DropBeeps::kSpacingMs) << "beep " << i;
  }
}

TEST_F(RealDropTest, ASmallDropRingsOncePerFile) {
  DragTo({Src("x.txt"), Src("y.txt"), Src("z.txt")}, Centre(ids::kFileList));
  EXPECT_TRUE(PumpUntil([&] { return Items().size() == 3; }));
  // The later beeps of a drop come from a timer, after the drop.
  EXPECT_TRUE(PumpUntil([&] { return beeps_.at.size() >= 3; }));
  PumpUntil([] { return false; }, 200);
  ASSERT_EQ(beeps_.at.size(), 3u);
  for (std::size_t i = 1; i < beeps_.at.size(); ++i) {
    EXPECT_GE(beeps_.at[i] - beeps_.at[i - 1], DropBeeps::kSpacingMs);
  }
}

}  // namespace
}  // namespace lq::test
