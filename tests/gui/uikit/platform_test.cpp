#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/desktop_launcher.h"
#include "platform/launch_command.h"
#include "platform/wx_font.h"
#include "platform/wx_prompts.h"
#include "tests/gui/fakes/fake_launcher.h"

namespace lq {
namespace {

using Kind = FakeLauncher::Kind;
using Call = FakeLauncher::Call;
using Argv = std::vector<std::string>;

Call Assoc(const std::string& target) { return {Kind::kAssociation, {target}}; }
Call Program(Argv argv) { return {Kind::kProgram, std::move(argv)}; }

struct LaunchCase {
  const char* name;
  std::string command;
  std::string association_target;  // the one target association accepts ("" none)
  Argv program;                    // the one argv program start accepts (empty none)
  LaunchStage stage;
  std::vector<Call> calls;
};

void PrintTo(const LaunchCase& c, std::ostream* os) { *os << c.name; }

class LaunchCommandTest : public testing::TestWithParam<LaunchCase> {};

TEST_P(LaunchCommandTest, TriesTheStagesInOrder) {
  const LaunchCase& c = GetParam();
  FakeLauncher launcher;
  launcher.association_ok = [&](const std::string& t) {
    return !c.association_target.empty() && t == c.association_target;
  };
  launcher.program_ok = [&](const Argv& argv) { return !c.program.empty() && argv == c.program; };
  EXPECT_EQ(LaunchCommand(launcher, c.command), c.stage);
  EXPECT_EQ(launcher.calls, c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Stages, LaunchCommandTest,
    testing::Values(LaunchCase{"Empty", "", "", {}, LaunchStage::kNone, {}},
                    LaunchCase{"OnlySpaces", "   ", "", {}, LaunchStage::kNone, {}},
                    LaunchCase{"AssociationOfTrimmedText",
                               "  /tmp/out.txt  ",
                               "/tmp/out.txt",
                               {},
                               LaunchStage::kAssociation,
                               {Assoc("/tmp/out.txt")}},
                    LaunchCase{"TabsStay",
                               "\tout.txt ",
                               "",
                               {},
                               LaunchStage::kNone,
                               {Assoc("\tout.txt"), Program({"\tout.txt"})}},
                    LaunchCase{"AbsoluteNameSkipsTheSplit",
                               "/home/me/out.sh",
                               "",
                               {},
                               LaunchStage::kNone,
                               {Assoc("/home/me/out.sh"), Program({"/home/me/out.sh"})}},
                    LaunchCase{"SplitRetryAtTheFirstSlash",
                               "prog  /s /t",
                               "",
                               {"prog", "/s /t"},
                               LaunchStage::kSplitRetry,
                               {Assoc("prog  /s /t"), Program({"prog", "/s /t"})}},
                    LaunchCase{
                        "SplitRetryKeepsTheRestWhole",
                        "gedit /tmp/my file.txt",
                        "",
                        {"gedit", "/tmp/my file.txt"},
                        LaunchStage::kSplitRetry,
                        {Assoc("gedit /tmp/my file.txt"), Program({"gedit", "/tmp/my file.txt"})}},
                    LaunchCase{"SplitFailsThenProgramStart",
                               "Notepad my/out.txt",
                               "",
                               {"Notepad", "my/out.txt"},
                               LaunchStage::kProgramStart,
                               {Assoc("Notepad my/out.txt"), Program({"Notepad my", "/out.txt"}),
                                Program({"Notepad", "my/out.txt"})}},
                    LaunchCase{"ProgramStartKeepsTheArgumentWhole",
                               "Notepad my out.txt",
                               "",
                               {"Notepad", "my out.txt"},
                               LaunchStage::kProgramStart,
                               {Assoc("Notepad my out.txt"), Program({"Notepad", "my out.txt"})}},
                    LaunchCase{"ProgramNameWithSpaces",
                               "my prog arg",
                               "",
                               {"my prog", "arg"},
                               LaunchStage::kProgramStart,
                               {Assoc("my prog arg"), Program({"my", "prog arg"}),
                                Program({"my prog", "arg"})}},
                    LaunchCase{"EverythingFails",
                               "a/b c",
                               "",
                               {},
                               LaunchStage::kNone,
                               {Assoc("a/b c"), Program({"a", "/b c"}), Program({"a/b", "c"}),
                                Program({"a/b c"})}}),
    [](const testing::TestParamInfo<LaunchCase>& info) { return std::string(info.param.name); });

TEST(ProgramStartCandidatesTest, QuotedProgram) {
  EXPECT_EQ(ProgramStartCandidates("\"my prog\"  a b"), (std::vector<Argv>{{"my prog", "a b"}}));
  EXPECT_EQ(ProgramStartCandidates("\"p\""), (std::vector<Argv>{{"p"}}));
  // An unclosed quote is part of the name.
  EXPECT_EQ(ProgramStartCandidates("\"p a"), (std::vector<Argv>{{"\"p", "a"}, {"\"p a"}}));
}

TEST(ProgramStartCandidatesTest, RunsOfSpacesSplitOnce) {
  EXPECT_EQ(ProgramStartCandidates("a  b"), (std::vector<Argv>{{"a", "b"}, {"a  b"}}));
  EXPECT_TRUE(ProgramStartCandidates("").empty());
}

TEST(TrimSpacesTest, SpacesOnly) {
  EXPECT_EQ(TrimSpaces("  a b  "), "a b");
  EXPECT_EQ(TrimSpaces("\ta\t"), "\ta\t");
  EXPECT_EQ(TrimSpaces("    "), "");
}

TEST(DesktopLauncherTest, WebAddresses) {
  EXPECT_TRUE(LooksLikeWebAddress("https://example.org/x"));
  EXPECT_TRUE(LooksLikeWebAddress("www.example.org"));
  EXPECT_TRUE(LooksLikeWebAddress("mailto:me@example.org"));
  EXPECT_FALSE(LooksLikeWebAddress("/tmp/a://b"));
  EXPECT_FALSE(LooksLikeWebAddress("out.txt"));
  EXPECT_FALSE(LooksLikeWebAddress("://x"));
}

TEST(DesktopLauncherTest, FindProgramSearchesThePath) {
  const auto dir = std::filesystem::temp_directory_path() / ("lq_find_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const auto tool = dir / "tool";
  std::ofstream(tool) << "#!/bin/sh\n";
  ::chmod(tool.c_str(), 0755);
  std::ofstream(dir / "plain") << "x";
  const std::string path = "/nonexistent:" + dir.string();
  EXPECT_EQ(FindProgram("tool", path), tool.string());
  EXPECT_EQ(FindProgram("plain", path), std::nullopt);  // not executable
  EXPECT_EQ(FindProgram("missing", path), std::nullopt);
  EXPECT_EQ(FindProgram(tool.string(), ""), tool.string());
  EXPECT_EQ(FindProgram("", path), std::nullopt);
  std::filesystem::remove_all(dir);
}

TEST(DesktopLauncherTest, ChooseTextEditorNeverChoosesLoomquill) {
  const auto finder = [](std::initializer_list<std::string> present) {
    std::vector<std::string> names(present);
    return [names](const std::string& name) -> std::optional<std::string> {
      for (const auto& n : names) {
        if (n == name) return "/usr/bin/" + name;
      }
      return std::nullopt;
    };
  };
  const DesktopHandler self{"io.github.loomquill.Loomquill.desktop", "loomquill"};
  const DesktopHandler old_self{"loomquill.desktop", "/usr/bin/loomquill"};
  const DesktopHandler copy{"my-copy.desktop", "/opt/lq/loomquill"};
  const DesktopHandler gedit{"org.gnome.gedit.desktop", "gedit"};
  struct Case {
    const char* what;
    EditorSources sources;
    EditorChoice want;
  };
  const Case cases[] = {
      {"the desktop's default",
       {{gedit}, "vim", "", finder({"x-terminal-emulator", "vim"})},
       {"org.gnome.gedit.desktop", {}}},
      {"the first handler after Loomquill",
       {{self, old_self, copy, gedit}, "", "", finder({})},
       {"org.gnome.gedit.desktop", {}}},
      {"VISUAL in a terminal when only Loomquill opens text",
       {{self}, "emacs -nw", "vi", finder({"x-terminal-emulator", "emacs", "vi"})},
       {"", {"/usr/bin/x-terminal-emulator", "-e", "/usr/bin/emacs", "-nw", "/t/a b.txt"}}},
      {"EDITOR when VISUAL is not a program",
       {{}, "nosuch", "vi", finder({"gnome-terminal", "vi"})},
       {"", {"/usr/bin/gnome-terminal", "--", "/usr/bin/vi", "/t/a b.txt"}}},
      {"xdg-terminal-exec first",
       {{}, "", "vi", finder({"xdg-terminal-exec", "xterm", "vi"})},
       {"", {"/usr/bin/xdg-terminal-exec", "/usr/bin/vi", "/t/a b.txt"}}},
      {"never VISUAL=loomquill",
       {{}, "loomquill", "", finder({"xterm", "loomquill", "kate"})},
       {"", {"/usr/bin/kate", "/t/a b.txt"}}},
      {"a known editor without a terminal",
       {{}, "vi", "", finder({"vi", "mousepad", "gedit"})},
       {"", {"/usr/bin/gedit", "/t/a b.txt"}}},
      {"nothing", {{self}, "", "", finder({"gtk-launch"})}, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseTextEditor("/t/a b.txt", c.sources), c.want) << c.what;
  }
}

TEST(DesktopLauncherTest, StartProgramRefusesWhatCannotStart) {
  DesktopLauncher launcher;
  EXPECT_FALSE(launcher.StartProgram({}));
  EXPECT_FALSE(launcher.StartProgram({"/nonexistent/loomquill-no-such-program"}));
  EXPECT_FALSE(launcher.OpenWithAssociation(""));
  EXPECT_FALSE(launcher.OpenWithAssociation("/nonexistent/loomquill-no-such-file.txt"));
}

TEST(PromptsTest, MessageStyles) {
  EXPECT_EQ(MessageDialogStyle(kPromptOk), wxOK | wxICON_NONE);
  EXPECT_EQ(MessageDialogStyle(kPromptYesNo | kPromptIconQuestion), wxYES_NO | wxICON_QUESTION);
  EXPECT_EQ(MessageDialogStyle(kPromptYesNoCancel | kPromptIconWarning | kPromptDefaultSecond),
            wxYES_NO | wxCANCEL | wxNO_DEFAULT | wxICON_WARNING);
  EXPECT_EQ(MessageDialogStyle(kPromptOkCancel | kPromptIconInfo | kPromptDefaultSecond),
            wxOK | wxCANCEL | wxCANCEL_DEFAULT | wxICON_INFORMATION);
  EXPECT_EQ(MessageDialogStyle(kPromptOk | kPromptIconError), wxOK | wxICON_ERROR);
}

TEST(PromptsTest, Answers) {
  EXPECT_EQ(AnswerFromDialogId(wxID_YES, kPromptYesNo), Answer::kYes);
  EXPECT_EQ(AnswerFromDialogId(wxID_NO, kPromptYesNoCancel), Answer::kNo);
  EXPECT_EQ(AnswerFromDialogId(wxID_OK, kPromptOkCancel), Answer::kOk);
  EXPECT_EQ(AnswerFromDialogId(wxID_CANCEL, kPromptOkCancel), Answer::kCancel);
  // Closing a box without Cancel answers with its last button.
  EXPECT_EQ(AnswerFromDialogId(wxID_CANCEL, kPromptYesNo), Answer::kNo);
  EXPECT_EQ(AnswerFromDialogId(wxID_CANCEL, kPromptOk), Answer::kOk);
}

TEST(PromptsTest, FileDialogs) {
  EXPECT_EQ(FileDialogWildcard(kOpenListDialog), "List file (*.lst)|*.lst");
  EXPECT_EQ(FileDialogStyle(kOpenListDialog), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  EXPECT_EQ(FileDialogStyle(kSaveListDialog), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  EXPECT_EQ(WithDefaultExtension("/a/list", "lst"), "/a/list.lst");
  EXPECT_EQ(WithDefaultExtension("/a/list.txt", "lst"), "/a/list.txt");
  EXPECT_EQ(WithDefaultExtension("/a.b/list", "lst"), "/a.b/list.lst");
  EXPECT_EQ(WithDefaultExtension("/a/.hidden", "lst"), "/a/.hidden.lst");
  EXPECT_EQ(WithDefaultExtension("/a/out", "*"), "/a/out");
}

TEST(FontTest, HeightAndPointsAt96Dpi) {
  EXPECT_EQ(PointSizeFromHeight(-11), 8);
  EXPECT_EQ(PointSizeFromHeight(-16), 12);
  EXPECT_EQ(PointSizeFromHeight(16), 12);
  EXPECT_EQ(PointSizeFromHeight(0), 1);
  EXPECT_EQ(HeightFromPointSize(8), -11);
  EXPECT_EQ(HeightFromPointSize(12), -16);
  for (int height = -40; height <= -8; ++height) {
    const int back = HeightFromPointSize(PointSizeFromHeight(height));
    EXPECT_LE(std::abs(back - height), 1) << height;
  }
}

}  // namespace
}  // namespace lq
