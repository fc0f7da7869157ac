// A first Create on a machine without a desktop folder, through the Create button's menu.
#include <wx/listbox.h>

#include <filesystem>

#include "resources/ids.h"
#include "tests/gui/real/real_input.h"

namespace lq::test {
namespace {

namespace fs = std::filesystem;

class OutputFolderTest : public RealInputTest {};

TEST_F(OutputFolderTest, WithoutADesktopTheFirstCreateWritesInTheHomeFolder) {
  fs::remove(root_ / "home" / "Desktop");
  Start();
  if (!Ready()) GTEST_SKIP() << "the display shows or activates no window";
  const fs::path out = root_ / "home" / "ZQScript.txt";
  EXPECT_EQ(status()->MessageText(), out.string());
  dlg()->HandleDrop({(root_ / "home" / "song.mp3").string()},
                    Control(ids::kFileList)->GetRect().GetTopLeft());
  // A left press on Create opens its menu below it; Down and Return choose "Create".
  Hover(ids::kCreate);
  XLater("sleep 0.6; xdotool key Down; sleep 0.2; xdotool key Return");
  XClick(1);
  EXPECT_TRUE(PumpUntil([&] { return fs::exists(out); }, 5000));
  EXPECT_TRUE(prompts_.messages.empty())
      << (prompts_.messages.empty() ? "" : prompts_.messages.front().text);
}

}  // namespace
}  // namespace lq::test
