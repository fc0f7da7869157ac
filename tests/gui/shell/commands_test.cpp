// Output, clipboard and launcher commands of the main window, driven from its menus,
// buttons and tool bar.
#include <wx/stattext.h>

#include <algorithm>
#include <cctype>
#include <ostream>

#include "about/program_version.h"
#include "tests/gui/shell/shell_fixture.h"

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
      {"create from the menu", 112, false},
      {"create from the button", 112, true},
      {"create and copy", 1007, false},
      {"copy selected item", 1004, false},
      {"create and copy selected", 1006, false},
      {"save list", 24333, false},
      {"move up", 109, true},
      {"move down", 110, true},
      {"delete", 111, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    prompts_ = FakePrompts();
    Start();
    SetOutput(Out());
    prompts_.file_answers.push_back((work_ / "out" / "list.lst").string());
    if (c.button && c.id == 112) {
      // The Create button opens its menu; the user picks "Create".
      presenter_.choose = 112;
      wxMouseEvent press(wxEVT_LEFT_DOWN);
      dlg()->FindWindow(112)->ProcessWindowEvent(press);
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
  SetCheck(108, c.invert);
  Type(102, c.header);
  Type(103, c.queue);
  Command(112);

  std::string a = Src("a.txt");
  std::string b = Src("b\\c.txt");
  if (c.mode == 106) {
    a = "../src/a.txt";
    b = "../src/b\\c.txt";
  } else if (c.mode == 107) {
    a = "a.txt";
    b = "b\\c.txt";
  } else if (c.mode == 114) {
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
    testing::Values(OutputCase{"full", 105, false, "copy ", " /backup\n",
                               "copy {a} /backup\ncopy {b} /backup\n"},
                    OutputCase{"relative", 106, false, "copy ", " /backup\n",
                               "copy {a} /backup\ncopy {b} /backup\n"},
                    OutputCase{"name", 107, false, "copy ", " /backup\n",
                               "copy {a} /backup\ncopy {b} /backup\n"},
                    OutputCase{"name inverted", 107, true, "", "\n", "{a}\n{b}\n"},
                    OutputCase{"full inverted", 105, true, "<", ">\n", "<{a}>\n<{b}>\n"},
                    OutputCase{"none with variables", 114, false, "ZQ_NAMEZQ_EXT", "\n",
                               "a.txt\nb\\c.txt\n"},
                    OutputCase{"queue without line break", 107, false, "", ";", "{a};{b};"},
                    OutputCase{"two-line header", 107, false, "rem\nfile ", "\n",
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
  MainText(120, "REM begin\nREM files:\n", true);
  MainText(121, "REM end", true);
  ChooseRadio(107);
  Type(103, "\n");
  Command(112);
  EXPECT_EQ(ReadAll(Out()), "REM begin\nREM files:\na.txt\nb\\c.txt\nREM end");
}

TEST_F(CommandsTest, OutputThatCannotBeWrittenIsNamedInTheMessage) {
  Start();
  OpenListOf({Src("a.txt")});
  WriteAll(work_ / "plain", "a file, not a folder");
  const std::string out = (work_ / "plain" / "out.txt").string();
  SetOutput(out);
  Command(112);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].text.substr(0, prompts_.messages[0].text.find('\n')), out);
  EXPECT_EQ(prompts_.messages[0].caption, "Invalid output file name");
  EXPECT_EQ(prompts_.messages[0].style, kPromptOk);
  EXPECT_TRUE(clock_.notices.empty());
}

TEST_F(CommandsTest, CreateAndCopyPutsTheFileTextOnTheClipboard) {
  StartWithFiles();
  ChooseRadio(107);
  Type(102, "play ");
  Type(103, "\n");
  Command(1007);
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
  Command(1007);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].caption, "Invalid output file name");
  EXPECT_EQ(clipboard_.set_count, 0);
}

TEST_F(CommandsTest, CopySelectedItemCopiesItsWrittenName) {
  StartWithFiles();
  OpenListOf({Src("d.txt")});
  ChooseRadio(106);
  SelectItem(2);
  Command(1004);
  EXPECT_EQ(clipboard_.text, "../src/d.txt");
  EXPECT_EQ(Counter(), "3/3");
  SetCheck(108, true);
  SelectItem(1);
  Command(1004);
  EXPECT_EQ(clipboard_.text, "../src/b/c.txt");
}

TEST_F(CommandsTest, CopySelectedItemWithoutSelectionTakesTheFirst) {
  StartWithFiles();
  ChooseRadio(107);
  SelectItem(wxNOT_FOUND);  // the user clears the list's selection
  Command(1004);
  EXPECT_EQ(clipboard_.text, "a.txt");
  EXPECT_EQ(Counter(), "1/2");
}

TEST_F(CommandsTest, CreateAndCopySelectedItemCopiesOneComposedLine) {
  StartWithFiles();
  ChooseRadio(107);
  Type(102, "<li>");
  Type(103, "</li>\n");
  SelectItem(1);
  Command(1006);
  EXPECT_EQ(clipboard_.text, "<li>b\\c.txt</li>\n");
  EXPECT_FALSE(fs::exists(Out()));
  SelectItem(wxNOT_FOUND);
  Command(1006);
  EXPECT_EQ(clipboard_.text, "<li>a.txt</li>\n");
  EXPECT_EQ(dlg()->pending_file(), "");
}

TEST_F(CommandsTest, ViewOpensTheOutputInTheTextEditor) {
  StartWithFiles();
  ToolCommand(113);
  const std::vector<FakeLauncher::Call> expected{{FakeLauncher::Kind::TextEditor, {Out()}}};
  EXPECT_EQ(launcher_.calls, expected);
  EXPECT_TRUE(prompts_.messages.empty());
}

TEST_F(CommandsTest, ViewSaysSoWhenNoTextEditorIsFound) {
  StartWithFiles();
  launcher_.text_editor_ok = false;
  ToolCommand(113);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_NE(prompts_.messages[0].text.find(Out()), std::string::npos);
  EXPECT_NE(prompts_.messages[0].text.find("No text editor"), std::string::npos);
  EXPECT_EQ(prompts_.messages[0].caption, "Halvorn Loomquill");
  // Never the file's association instead, which may be Loomquill itself.
  const std::vector<FakeLauncher::Call> expected{{FakeLauncher::Kind::TextEditor, {Out()}}};
  EXPECT_EQ(launcher_.calls, expected);
}

TEST_F(CommandsTest, ExecuteGoesThroughTheLauncherStages) {
  StartWithFiles();
  launcher_.association_ok = [](const std::string&) { return true; };
  Command(1012);
  std::vector<FakeLauncher::Call> expected{{FakeLauncher::Kind::Association, {Out()}}};
  EXPECT_EQ(launcher_.calls, expected);

  // Nothing opens it: program start is tried last, with the whole name.
  launcher_.calls.clear();
  launcher_.association_ok = [](const std::string&) { return false; };
  Command(1012);
  ASSERT_GE(launcher_.calls.size(), 2u);
  EXPECT_EQ(launcher_.calls.front(), expected.front());
  const FakeLauncher::Call last{FakeLauncher::Kind::Program, {Out()}};
  EXPECT_EQ(launcher_.calls.back(), last);
  EXPECT_TRUE(prompts_.messages.empty());
}

TEST_F(CommandsTest, WebPageCopiesTheAddressWaitsThenLaunches) {
  Start();
  Command(24343);
  EXPECT_EQ(clipboard_.text, kHomeAddress);
  ASSERT_EQ(clock_.notices.size(), 1u);
  EXPECT_EQ(clock_.notices[0].text, "URL copyed into Clipboard");
  EXPECT_EQ(clock_.notices[0].caption, "Halvorn Loomquill");
  EXPECT_EQ(clock_.notices[0].ms, 2000);
  EXPECT_EQ(clock_.notices[0].clipboard_before, kHomeAddress);
  EXPECT_EQ(clock_.notices[0].launches_before, 0u);
  const std::vector<FakeLauncher::Call> expected{{FakeLauncher::Kind::Association, {kHomeAddress}}};
  EXPECT_EQ(launcher_.calls, expected);
}

TEST_F(CommandsTest, HelpIndexOpensTheHelpBesideTheProgram) {
  Start();
  Command(24341);
  const std::vector<FakeLauncher::Call> expected{
      {FakeLauncher::Kind::Association, {program_.string() + "/Weftbook.html"}}};
  EXPECT_EQ(launcher_.calls, expected);
}

TEST_F(CommandsTest, AutoDragButtonShowsItsHelp) {
  Start();
  Click(123);
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
  Command(24346);
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
