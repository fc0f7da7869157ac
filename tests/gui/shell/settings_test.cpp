// The settings file: what the window starts from and what it leaves behind at exit.
#include <ostream>

#include "platform/wx_font.h"
#include "tests/gui/shell/shell_fixture.h"

namespace lq::test {
namespace {

using SettingsTest = ShellTest;

TEST_F(SettingsTest, NoSettingsFileGivesTheDefaults) {
  Start();
  EXPECT_EQ(status()->ShownText(), DefaultOutput());
  EXPECT_EQ(status()->GetStatusText(0).utf8_string(), DefaultOutput());
  EXPECT_EQ(Field(ids::kOutFileField), DefaultOutput());
  EXPECT_EQ(Field(ids::kRelPathField), (home_ / "Schreibtisch").string() + "/");
  EXPECT_EQ(Field(ids::kHeader), "");
  EXPECT_EQ(Field(ids::kQueue), "");
  EXPECT_EQ(Field(ids::kMainHeadField), "");
  EXPECT_EQ(Field(ids::kMainQueueField), "");
  EXPECT_TRUE(IsChecked(ids::kModeFull));
  EXPECT_FALSE(IsChecked(ids::kInvertSlash));
  EXPECT_FALSE(IsChecked(ids::kSaveLocal));
  EXPECT_TRUE(status()->AreTipsEnabled());
  EXPECT_EQ(frame()->GetTitle(), "Halvorn Loomquill");

  const wxFont font = dlg()->GetFont();
  EXPECT_EQ(font.GetFaceName(), "Arial");
  EXPECT_EQ(HeightFromPointSize(font.GetPointSize()), -11) << "11 pixels high";
  EXPECT_EQ(font.GetWeight(), wxFONTWEIGHT_NORMAL);
  EXPECT_EQ(font.GetStyle(), wxFONTSTYLE_NORMAL);
  EXPECT_FALSE(font.GetUnderlined());
  EXPECT_EQ(dlg()->FindWindow(ids::kFileList)->GetFont(), font)
      << "the controls take the dialog font";
  EXPECT_FALSE(fs::exists(SettingsFile())) << "starting writes nothing";
}

TEST_F(SettingsTest, StoredSettingsFillTheControls) {
  WriteSettings(
      "FileOutput=/data/out/run.sh\n"
      "Header=<echo #ZQ_BR#  >\n"
      "Queue=< done>\n"
      "InvertSlash=1\n"
      "CheckIndex=2\n"
      "MainHead=<  a#ZQ_BR#b  >\n"
      "MainQueue=<end>\n"
      "SaveLocal=1\n");
  Start();
  EXPECT_EQ(Field(ids::kOutFileField), "/data/out/run.sh");
  EXPECT_EQ(Field(ids::kRelPathField), "/data/out/");
  EXPECT_EQ(status()->ShownText(), "/data/out/run.sh");
  EXPECT_EQ(Field(ids::kHeader), "echo \n  ");
  EXPECT_EQ(Field(ids::kQueue), " done");
  EXPECT_EQ(Field(ids::kMainHeadField), "a /n b");
  EXPECT_EQ(Field(ids::kMainQueueField), "end");
  EXPECT_TRUE(IsChecked(ids::kModeName));
  EXPECT_FALSE(IsChecked(ids::kModeFull));
  EXPECT_TRUE(IsChecked(ids::kInvertSlash));
  EXPECT_TRUE(IsChecked(ids::kSaveLocal));
  EXPECT_EQ(dlg()->settings().MainHead, "  a\r\nb  ");
}

// Exit from the menu and the frame's close box both save; the texts typed with LF reach
// the file as CR LF escapes.
TEST_F(SettingsTest, ClosingWritesEveryKey) {
  for (bool by_menu : {true, false}) {
    SCOPED_TRACE(by_menu ? "Exit" : "close box");
    fs::remove(SettingsFile());
    Start();
    const std::string out = (work_ / "out" / "page.html").string();
    SetOutput(out);
    Type(ids::kHeader, "<a href=\"");
    Type(ids::kQueue, "\">x</a>\n<br>");
    ChooseRadio(ids::kModeRelative);
    SetCheck(ids::kInvertSlash, true);
    SetCheck(ids::kSaveLocal, false);
    MainText(ids::kSetMainHead, "<ul>\n", true);
    MainText(ids::kSetMainQueue, "</ul>", true);
    Command(ids::kUseTooltip);
    Command(ids::kEscapeHtml);  // Escape names for HTML
    if (by_menu) {
      Command(ids::kExit);
    } else {
      frame()->Close();
    }
    ASSERT_TRUE(FrameGone());
    const std::vector<std::pair<std::string, std::string>> expected{
        {"Header", "<<a href=\">"},
        {"Queue", "<\">x</a>#ZQ_BR#<br>>"},
        {"FileOutput", out},
        {"InvertSlash", "1"},
        {"CheckIndex", "1"},
        {"Escape", "html"},
        {"SendToIndex", "0"},
        {"MainHead", "<<ul>#ZQ_BR#>"},
        {"MainQueue", "<</ul>>"},
        {"SaveLocal", "0"},
        {"UseTip", "0"},
        {"PreviewOpen", "0"}};
    EXPECT_EQ(SettingsKeys(), expected);
    EXPECT_TRUE(prompts_.messages.empty());
  }
}

TEST_F(SettingsTest, ModesAreStoredFromTheRadios) {
  const std::pair<int, const char*> modes[] = {{ids::kModeFull, "0"},
                                               {ids::kModeRelative, "1"},
                                               {ids::kModeName, "2"},
                                               {ids::kModeNone, "3"}};
  for (const auto& [radio, stored] : modes) {
    SCOPED_TRACE(radio);
    Start();
    ChooseRadio(radio);
    Command(ids::kExit);
    ASSERT_TRUE(FrameGone());
    EXPECT_EQ(SettingsValue("CheckIndex"), stored);
    // And the next start shows it.
    Start();
    EXPECT_TRUE(IsChecked(radio));
    frame()->Destroy();
    ASSERT_TRUE(FrameGone());
  }
}

TEST_F(SettingsTest, CheckIndexSevenChecksFullAndStoresZero) {
  WriteSettings("CheckIndex=7\n");
  Start();
  EXPECT_TRUE(IsChecked(ids::kModeFull));
  EXPECT_FALSE(IsChecked(ids::kModeRelative));
  EXPECT_FALSE(IsChecked(ids::kModeName));
  EXPECT_FALSE(IsChecked(ids::kModeNone));
  OpenListOf({Src("a.txt")});
  SetOutput((work_ / "out" / "o.txt").string());
  Command(ids::kCreate);
  EXPECT_EQ(ReadAll(work_ / "out" / "o.txt"), Src("a.txt"));
  Command(ids::kExit);
  ASSERT_TRUE(FrameGone());
  EXPECT_EQ(SettingsValue("CheckIndex"), "0");
}

TEST_F(SettingsTest, SettingsThatCannotBeWrittenAreReportedAndTheWindowStillCloses) {
  // A regular file where the settings folder should be: even root cannot write there.
  const fs::path blocker = root_ / "blocked";
  WriteAll(blocker, "not a folder");
  context_.settings_file = blocker / "loomquill" / "ZQIni.ini";
  Start();
  Command(ids::kExit);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  const std::string& text = prompts_.messages[0].text;
  EXPECT_EQ(text.substr(0, text.find('\n')), context_.settings_file.string());
  EXPECT_EQ(prompts_.messages[0].caption, "Cannot write file");
  EXPECT_EQ(prompts_.messages[0].style, kPromptOk);
  EXPECT_TRUE(FrameGone());
  EXPECT_EQ(ReadAll(blocker), "not a folder");
}

struct StartFileCase {
  const char* what;
  int send_to;
  const char* copied;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const StartFileCase& c, std::ostream* os) { *os << c.what; }

class StartWithFileTest : public ShellTest, public testing::WithParamInterface<StartFileCase> {};

// A file given at start is handed over once the window is set up: its name in a "Copying..."
// notice, then the clipboard as the Send To setting says.
TEST_P(StartWithFileTest, CopiesItAsSendToSays) {
  WriteSettings("CheckIndex=2\nHeader=<copy >\nQueue=< x#ZQ_BR#>\nSendToIndex=" +
                std::to_string(GetParam().send_to) + "\n");
  const std::string file = Src("a.txt");
  Start(file);
  EXPECT_EQ(clipboard_.text, GetParam().copied);
  ASSERT_EQ(clock_.notices.size(), 1u);
  EXPECT_EQ(clock_.notices[0].text, file);
  EXPECT_EQ(clock_.notices[0].caption, "Copying...");
  EXPECT_EQ(clock_.notices[0].ms, 600);
  EXPECT_EQ(clock_.notices[0].clipboard_before, std::nullopt) << "the copy follows the notice";
  EXPECT_EQ(dlg()->pending_file(), "");
  EXPECT_EQ(Counter(), "0/0") << "the list is not touched";
}

INSTANTIATE_TEST_SUITE_P(SendToModes, StartWithFileTest,
                         testing::Values(StartFileCase{"name", 0, "a.txt"},
                                         StartFileCase{"line", 1, "copy a.txt x\n"},
                                         StartFileCase{"any_other_value_is_name", 7, "a.txt"}),
                         [](const testing::TestParamInfo<StartFileCase>& info) {
                           return info.param.what;
                         });

}  // namespace
}  // namespace lq::test
