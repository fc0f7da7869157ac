// Takes the README's picture of the main window, with a template loaded and files dropped.
// Runs only when LQ_SHOTS_DIR names a folder (tools/screenshot.sh sets it).
#include <wx/utils.h>

#include <cstdlib>

#include "resources/ids.h"
#include "tests/gui/shell/shell_fixture.h"

namespace lq::test {
namespace {

class ScreenshotTest : public ShellTest {};

TEST_F(ScreenshotTest, MainWindow) {
  const char* dir = std::getenv("LQ_SHOTS_DIR");
  if (dir == nullptr) GTEST_SKIP() << "set LQ_SHOTS_DIR to take the pictures";
  WriteProgramFile("M3U playlist.hqd",
                   "[Loomquill]\nHeader=<#EXTINF:-1,ZQ_GETSELINDEX. ZQ_NAME#ZQ_BR#>\n"
                   "Queue=<#ZQ_BR#>\nMainHead=<#EXTM3U#ZQ_BR#>\nCheckIndex=1\n");
  WriteSettings("FileOutput=/home/u/Music/all.m3u\n");
  Start();
  Command(ids::kFirstTemplate);
  std::vector<std::string> names;
  for (const char* n : {"Rock/Song one.mp3", "Rock/Song two.mp3", "Jazz/Take five.flac",
                        "Jazz/So what.flac", "Intro.ogg"}) {
    names.push_back(std::string("/home/u/Music/") + n);
  }
  dlg()->HandleDrop(names, dlg()->FindWindow(ids::kFileList)->GetRect().GetTopLeft());
  SelectItem(2);
  frame()->Move(0, 0);
  frame()->Raise();
  // GTK draws when its frame clock ticks: give it time before the picture.
  frame()->Refresh();
  for (int i = 0; i < 40; ++i) {
    Yield();
    wxMilliSleep(25);
  }
  const std::string file = std::string(dir) + "/main-window.png";
  const wxRect r = frame()->GetScreenRect();
  const std::string cmd = "import -window root -crop " + std::to_string(r.width) + "x" +
                          std::to_string(r.height) + "+" + std::to_string(r.x) + "+" +
                          std::to_string(r.y) + " '" + file + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
}

}  // namespace
}  // namespace lq::test
