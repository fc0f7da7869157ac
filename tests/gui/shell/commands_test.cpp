// Output, clipboard and launcher commands of the main window, driven from its menus,
// buttons and tool bar.
#include <wx/stattext.h>

#include <algorithm>
#include <cctype>
#include <ostream>

#include "about/program_version.h"
#include "tests/gui/shell/shell_fixture.h"
#include "uikit/grafext/kit_services.h"

namespace lq::test {
namespace {

constexpr const char* kCreatedNotice = "Click view to see created file";

class CommandsTest : public ShellTest {
 protected:
  // Two files, one with a backslash in its name (only the slash option turns it), and the
  // output in a folder beside theirs.
  void StartWithFiles() {
    Start();
    OpenListOf({Src("a.txt"), Src("b\\c.txt")});
    SetOutput(Out());
  }
  std::string Out() const { return (work_ / "out" / "script.txt").string(); }
  void ExpectOneInfo() {
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_EQ(prompts_.messages[0].text,
              "Please drag some files from File Manager before using this command");
    EXPECT_EQ(prompts_.messages[0].caption, "Info");
    EXPECT_EQ(prompts_.messages[0].style, kPromptOk);
  }
};

TEST_F(CommandsTest, EmptyListShowsZeroOfZero) {
  Start();
  EXPECT_EQ(Counter(), "0/0");
  EXPECT_TRUE(Items().empty());
}

// Every command that needs files stops at the "Info" notice and writes, copies and asks
// nothing more.
TEST_F(CommandsTest, CommandsNeedingFilesStopAtInfoOnAnEmptyList) {
  struct Case {
    const char* what;
    int id;
    bool button;
  };
  const Case cases[] = {
      {"create from the menu", ids::kCreate, false},
      {"create from the button", ids::kCreate, true},
      {"create and copy", ids::kCreateAndCopy, false},
      {"copy selected item", ids::kCopySelected, false},
      {"create and copy selected", ids::kCreateAndCopySelected, false},
      {"save list", ids::kSaveList, false},
      {"move up", ids::kMoveUp, true},
      {"move down", ids::kMoveDown, true},
      {"delete", ids::kDeleteItem, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    prompts_ = FakePrompts();
    Start();
    SetOutput(Out());
    prompts_.file_answers.push_back((work_ / "out" / "list.lst").string());
    if (c.button && c.id == ids::kCreate) {
      // The Create button opens its menu; the user picks "Create".
      presenter_.choose = ids::kCreate;
      wxMouseEvent press(wxEVT_LEFT_DOWN);
      dlg()->FindWindow(ids::kCreate)->ProcessWindowEvent(press);
      presenter_.choose = 0;
    } else if (c.button) {
      Click(c.id);
    } else {
      Command(c.id);
    }
    ExpectOneInfo();
    EXPECT_EQ(prompts_.file_dialogs.size(), 1u);  // only the output file's
    EXPECT_FALSE(fs::exists(Out()));
    EXPECT_FALSE(fs::exists(work_ / "out" / "list.lst"));
    EXPECT_EQ(clipboard_.set_count, 0);
    EXPECT_TRUE(clock_.notices.empty());
    EXPECT_EQ(Counter(), "0/0");
    frame()->Destroy();
    ASSERT_TRUE(FrameGone());
  }
}

struct OutputCase {
  const char* what;
  int mode;  // radio id
  bool invert;
  const char* header;
  const char* queue;
  // With {a} and {b} for the two names as the mode writes them.
  const char* expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const OutputCase& c, std::ostream* os) { *os << c.what; }

class CreateOutputTest : public CommandsTest, public testing::WithParamInterface<OutputCase> {};

std::string Expand(std::string text, const std::string& a, const std::string& b) {
  for (const auto& [key, value] : {std::pair<std::string, std::string>{"{a}", a},
                                   std::pair<std::string, std::string>{"{b}", b}}) {
    for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at)) {
      text.replace(at, key.size(), value);
      at += value.size();
    }
  }
  return text;
}

TEST_P(CreateOutputTest, WritesTheOutputByteForByte) {
  const OutputCase& c = GetParam();
  StartWithFiles();
  ChooseRadio(c.mode);
  SetCheck(ids::kInvertSlash, c.invert);
  Type(ids::kHeader, c.header);
  Type(ids::kQueue, c.queue);
  Command(ids::kCreate);

  std::string a = Src("a.txt");
  std::string b = Src("b\\c.txt");
  if (c.mode == ids::kModeRelative) {
    a = "../src/a.txt";
    b = "../src/b\\c.txt";
  } else if (c.mode == ids::kModeName) {
    a = "a.txt";
    b = "b\\c.txt";
  } else if (c.mode == ids::kModeNone) {
    a = b = "";
  }
  if (c.invert) {
    std::replace(a.begin(), a.end(), '\\', '/');
    std::replace(b.begin(), b.end(), '\\', '/');
  }
  EXPECT_EQ(ReadAll(Out()), Expand(c.expected, a, b));
  EXPECT_TRUE(prompts_.messages.empty());
  ASSERT_EQ(clock_.notices.size(), 1u);
  EXPECT_EQ(clock_.notices[0].text, kCreatedNotice);
  EXPECT_EQ(clock_.notices[0].caption, "Halvorn Loomquill");
  EXPECT_EQ(clock_.notices[0].ms, 1000);
}

INSTANTIATE_TEST_SUITE_P(
    PathModes, CreateOutputTest,
    testing::Values(OutputCase{"full", ids::kModeFull, false, "copy ", " /backup\n",
                               "copy {a} /backup\ncopy {b} /backup\n"},
                    OutputCase{"relative", ids::kModeRelative, false, "copy ", " /backup\n",
                               "copy {a} /backup\ncopy {b} /backup\n"},
                    OutputCase{"name", ids::kModeName, false, "copy ", " /backup\n",
                               "copy {a} /backup\ncopy {b} /backup\n"},
                    OutputCase{"name inverted", ids::kModeName, true, "", "\n", "{a}\n{b}\n"},
                    OutputCase{"full inverted", ids::kModeFull, true, "<", ">\n", "<{a}>\n<{b}>\n"},
                    OutputCase{"none with variables", ids::kModeNone, false, "ZQ_NAMEZQ_EXT", "\n",
                               "a.txt\nb\\c.txt\n"},
                    OutputCase{"queue without line break", ids::kModeName, false, "", ";",
                               "{a};{b};"},
                    OutputCase{"two-line header", ids::kModeName, false, "rem\nfile ", "\n",
                               "rem\nfile {a}\nrem\nfile {b}\n"}),
    [](const testing::TestParamInfo<OutputCase>& info) {
      std::string name = info.param.what;
      for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      }
      return name;
    });

TEST_F(CommandsTest, MainHeadAndQueueFrameTheLinesOnce) {
  StartWithFiles();
  MainText(ids::kSetMainHead, "REM begin\nREM files:\n", true);
  MainText(ids::kSetMainQueue, "REM end", true);
  ChooseRadio(ids::kModeName);
  Type(ids::kQueue, "\n");
  Command(ids::kCreate);
  EXPECT_EQ(ReadAll(Out()), "REM begin\nREM files:\na.txt\nb\\c.txt\nREM end");
}

TEST_F(CommandsTest, OutputThatCannotBeWrittenIsNamedInTheMessage) {
  Start();
  OpenListOf({Src("a.txt")});
  WriteAll(work_ / "plain", "a file, not a folder");
  const std::string out = (work_ / "plain" / "out.txt").string();
  SetOutput(out);
  Command(ids::kCreate);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].text.substr(0, prompts_.messages[0].text.find('\n')), out);
  EXPECT_EQ(prompts_.messages[0].caption, "Invalid output file name");
  EXPECT_EQ(prompts_.messages[0].style, kPromptOk);
  EXPECT_TRUE(clock_.notices.empty());
}

// The window has one time, the kit's: the notice waits on the clock that times the tooltip
// and the throttles, so a test's fake time is the window's everywhere.
TEST_F(CommandsTest, TheCreatedNoticeWaitsOnTheKitsClock) {
  StartWithFiles();
  const long long before = KitClock().NowMs();
  Command(ids::kCreate);
  ASSERT_EQ(clock_.notices.size(), 1u);
  EXPECT_GE(KitClock().NowMs() - before, clock_.notices[0].ms);
}

TEST_F(CommandsTest, CreateAndCopyPutsTheFileTextOnTheClipboard) {
  StartWithFiles();
  ChooseRadio(ids::kModeName);
  Type(ids::kHeader, "play ");
  Type(ids::kQueue, "\n");
  Command(ids::kCreateAndCopy);
  EXPECT_EQ(ReadAll(Out()), "play a.txt\nplay b\\c.txt\n");
  EXPECT_EQ(clipboard_.text, "play a.txt\nplay b\\c.txt\n");
  ASSERT_EQ(clock_.notices.size(), 1u);
  EXPECT_EQ(clock_.notices[0].text, kCreatedNotice);
}

TEST_F(CommandsTest, CreateAndCopyCopiesNothingWhenCreatingFails) {
  Start();
  OpenListOf({Src("a.txt")});
  WriteAll(work_ / "plain", "x");
  const std::string out = (work_ / "plain" / "out.txt").string();
  SetOutput(out);
  Command(ids::kCreateAndCopy);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].caption, "Invalid output file name");
  EXPECT_EQ(clipboard_.set_count, 0);
}

TEST_F(CommandsTest, CopySelectedItemCopiesItsWrittenName) {
  StartWithFiles();
  OpenListOf({Src("d.txt")});
  ChooseRadio(ids::kModeRelative);
  SelectItem(2);
  Command(ids::kCopySelected);
  EXPECT_EQ(clipboard_.text, "../src/d.txt");
  EXPECT_EQ(Counter(), "3/3");
  SetCheck(ids::kInvertSlash, true);
  SelectItem(1);
  Command(ids::kCopySelected);
  EXPECT_EQ(clipboard_.text, "../src/b/c.txt");
}

TEST_F(CommandsTest, CopySelectedItemWithoutSelectionTakesTheFirst) {
  StartWithFiles();
  ChooseRadio(ids::kModeName);
  SelectItem(wxNOT_FOUND);  // the user clears the list's selection
  Command(ids::kCopySelected);
  EXPECT_EQ(clipboard_.text, "a.txt");
  EXPECT_EQ(Counter(), "1/2");
}

TEST_F(CommandsTest, CreateAndCopySelectedItemCopiesOneComposedLine) {
  StartWithFiles();
  ChooseRadio(ids::kModeName);
  Type(ids::kHeader, "<li>");
  Type(ids::kQueue, "</li>\n");
  SelectItem(1);
  Command(ids::kCreateAndCopySelected);
  EXPECT_EQ(clipboard_.text, "<li>b\\c.txt</li>\n");
  EXPECT_FALSE(fs::exists(Out()));
  SelectItem(wxNOT_FOUND);
  Command(ids::kCreateAndCopySelected);
  EXPECT_EQ(clipboard_.text, "<li>a.txt</li>\n");
  EXPECT_EQ(dlg()->pending_file(), "");
}

TEST_F(CommandsTest, ViewOpensTheOutputInTheTextEditor) {
  StartWithFiles();
  ToolCommand(ids::kView);
  const std::vector<FakeLauncher::Call> expected{{FakeLauncher::Kind::kTextEditor, {Out()}}};
  EXPECT_EQ(launcher_.calls, expected);
  EXPECT_TRUE(prompts_.messages.empty());
}

TEST_F(CommandsTest, ViewSaysSoWhenNoTextEditorIsFound) {
  StartWithFiles();
  launcher_.text_editor_ok = false;
  ToolCommand(ids::kView);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_NE(prompts_.messages[0].text.find(Out()), std::string::npos);
  EXPECT_NE(prompts_.messages[0].text.find("No text editor"), std::string::npos);
  EXPECT_EQ(prompts_.messages[0].caption, "Halvorn Loomquill");
  // Never the file's association instead, which may be Loomquill itself.
  const std::vector<FakeLauncher::Call> expected{{FakeLauncher::Kind::kTextEditor, {Out()}}};
  EXPECT_EQ(launcher_.calls, expected);
}

TEST_F(CommandsTest, ExecuteGoesThroughTheLauncherStages) {
  StartWithFiles();
  launcher_.association_ok = [](const std::string&) { return true; };
  Command(ids::kExecute);
  std::vector<FakeLauncher::Call> expected{{FakeLauncher::Kind::kAssociation, {Out()}}};
  EXPECT_EQ(launcher_.calls, expected);

  // Nothing opens it: program start is tried last, with the whole name.
  launcher_.calls.clear();
  launcher_.association_ok = [](const std::string&) { return false; };
  Command(ids::kExecute);
  ASSERT_GE(launcher_.calls.size(), 2u);
  EXPECT_EQ(launcher_.calls.front(), expected.front());
  const FakeLauncher::Call last{FakeLauncher::Kind::kProgram, {Out()}};
  EXPECT_EQ(launcher_.calls.back(), last);
  EXPECT_TRUE(prompts_.messages.empty());
}

TEST_F(CommandsTest, WebPageCopiesTheAddressWaitsThenLaunches) {
  Start();
  Command(ids::kWebPage);
  EXPECT_EQ(clipboard_.text, kHomeAddress);
  ASSERT_EQ(clock_.notices.size(), 1u);
  EXPECT_EQ(clock_.notices[0].text, "URL copyed into Clipboard");
  EXPECT_EQ(clock_.notices[0].caption, "Halvorn Loomquill");
  EXPECT_EQ(clock_.notices[0].ms, 2000);
  EXPECT_EQ(clock_.notices[0].clipboard_before, kHomeAddress);
  EXPECT_EQ(clock_.notices[0].launches_before, 0u);
  const std::vector<FakeLauncher::Call> expected{
      {FakeLauncher::Kind::kAssociation, {kHomeAddress}}};
  EXPECT_EQ(launcher_.calls, expected);
}

TEST_F(CommandsTest, HelpIndexOpensTheHelpBesideTheProgram) {
  Start();
  Command(ids::kHelpIndex);
  const std::vector<FakeLauncher::Call> expected{
      {FakeLauncher::Kind::kAssociation, {program_.string() + "/Weftbook.html"}}};
  EXPECT_EQ(launcher_.calls, expected);
}

TEST_F(CommandsTest, AutoDragButtonShowsItsHelp) {
  Start();
  Click(ids::kAutoDrag);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].text,
            "Drag a single file over Auto Drag button for special settings:\n\n"
            "1) Copy Relative Path and File Name into Clipboard\n"
            "2) Create a single line (head, file, queue), and copy it\n"
            "3) Set Relative Path different from Output File\n"
            "4) Set Output File");
  EXPECT_EQ(prompts_.messages[0].caption, "Halvorn Loomquill");
  EXPECT_EQ(prompts_.messages[0].style, kPromptOk);
}

TEST_F(CommandsTest, AboutShowsTheVersionAndClosesOnOk) {
  Start();
  std::vector<std::string> texts;
  auto seen = WhenModal([&texts](wxDialog& dialog) {
    for (wxWindow* child : dialog.GetChildren()) {
      if (auto* text = dynamic_cast<wxStaticText*>(child)) {
        texts.push_back(text->GetLabel().utf8_string());
      }
    }
    PressButton(&dialog, wxID_OK);
  });
  Command(ids::kAbout);
  EXPECT_TRUE(seen->seen);
  // The project's one version, the one --version prints, and LICENSE's license.
  EXPECT_NE(std::find(texts.begin(), texts.end(), std::string("Version: ") + kProgramVersion),
            texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(),
                      std::string(kCopyrightLine) + "\nLicense " + kLicenseName),
            texts.end());
  EXPECT_EQ(std::string(kLicenseName), "MIT");
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Halvorn Loomquill"), texts.end());
  EXPECT_TRUE(prompts_.messages.empty());
}

}  // namespace
}  // namespace lq::test
