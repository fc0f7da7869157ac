// The main panel's routing: every command that reads the record, or shows it in the controls
// again, sees the path mode and options the controls show, though no command has taken them
// into the record yet.
#include <functional>
#include <ostream>
#include <set>

#include "shell/panel_commands.h"
#include "tests/gui/shell/shell_fixture.h"

namespace lq::test {
namespace {

class CommandRoutingTest : public ShellTest {
 public:
  std::string Out() const { return (work_ / "out" / "script.txt").string(); }
  std::string Template() const { return (work_ / "t" / "mine.hqd").string(); }
};

struct RoutingCase {
  const char* what;
  int id;
  // Before the command: dialogs' answers, the waiting file.
  std::function<void(CommandRoutingTest&)> prepare;
  // The command as the user gives it.
  std::function<void(CommandRoutingTest&)> act;
  // Whether the command then shows a template, whose own options replace the user's.
  bool loads_template;
  // After it: what it made of the name in the path mode chosen (name only).
  std::function<void(CommandRoutingTest&)> check;
};

void PrintTo(const RoutingCase& c, std::ostream* os) { *os << c.what; }

void Nothing(CommandRoutingTest&) {}
void Wait(CommandRoutingTest& t) { t.dlg()->pending_file() = t.Src("a.txt"); }
void Copied(CommandRoutingTest& t) { EXPECT_EQ(t.clipboard_.text, "a.txt"); }
void Yes(CommandRoutingTest& t) { t.prompts_.answers.push_back(Answer::kYes); }
std::function<void(CommandRoutingTest&)> Give(int id) {
  return [id](CommandRoutingTest& t) { t.Command(id); };
}
// A template that names its own path mode: none.
void TemplateOfModeNone(CommandRoutingTest& t) {
  WriteAll(t.Template(), "[Loomquill]\nCheckIndex=3\n");
  t.prompts_.file_answers.push_back(t.Template());
}

const RoutingCase kCases[] = {
    {"create", ids::kCreate, Nothing, Give(ids::kCreate), false,
     [](CommandRoutingTest& t) { EXPECT_EQ(ReadAll(t.Out()), "a.txt"); }},
    {"create and copy", ids::kCreateAndCopy, Nothing, Give(ids::kCreateAndCopy), false, Copied},
    {"copy selected item", ids::kCopySelected, Nothing, Give(ids::kCopySelected), false, Copied},
    {"create and copy selected item", ids::kCreateAndCopySelected, Nothing,
     Give(ids::kCreateAndCopySelected), false, Copied},
    {"Auto Drag copy", ids::kDragCopyName, Wait, Give(ids::kDragCopyName), false, Copied},
    {"Auto Drag create and copy", ids::kDragCreateAndCopy, Wait, Give(ids::kDragCreateAndCopy),
     false, Copied},
    {"Auto Drag set relative path", ids::kDragSetRelPath,
     [](CommandRoutingTest& t) {
       Wait(t);
       Yes(t);
     },
     Give(ids::kDragSetRelPath), false,
     [](CommandRoutingTest& t) { EXPECT_EQ(t.dlg()->settings().RelPath, t.Src("")); }},
    {"Auto Drag set output file", ids::kDragSetOutputFile,
     [](CommandRoutingTest& t) {
       Wait(t);
       Yes(t);
     },
     Give(ids::kDragSetOutputFile), false,
     [](CommandRoutingTest& t) { EXPECT_EQ(t.dlg()->settings().FileOutput, t.Src("a.txt")); }},
    {"set output file", ids::kSetOutputFile,
     [](CommandRoutingTest& t) { t.prompts_.file_answers.push_back(t.Src("o.txt")); },
     [](CommandRoutingTest& t) { t.Click(ids::kSetOutputFile); }, false,
     [](CommandRoutingTest& t) { EXPECT_EQ(t.dlg()->settings().FileOutput, t.Src("o.txt")); }},
    {"set main head", ids::kSetMainHead, Nothing,
     [](CommandRoutingTest& t) { t.MainText(ids::kSetMainHead, "head", true); }, false,
     [](CommandRoutingTest& t) { EXPECT_EQ(t.dlg()->settings().MainHead, "head"); }},
    {"set main queue", ids::kSetMainQueue, Nothing,
     [](CommandRoutingTest& t) { t.MainText(ids::kSetMainQueue, "queue", true); }, false,
     [](CommandRoutingTest& t) { EXPECT_EQ(t.dlg()->settings().MainQueue, "queue"); }},
    {"save template", ids::kSaveTemplate,
     [](CommandRoutingTest& t) {
       fs::create_directories(fs::path(t.Template()).parent_path());
       t.prompts_.file_answers.push_back(t.Template());
     },
     Give(ids::kSaveTemplate), false,
     [](CommandRoutingTest& t) {
       const std::string stored = ReadAll(t.Template());
       EXPECT_NE(stored.find("CheckIndex=2"), std::string::npos) << stored;
       EXPECT_NE(stored.find("InvertSlash=1"), std::string::npos) << stored;
     }},
    {"open template", ids::kOpenTemplate,
     [](CommandRoutingTest& t) {
       fs::create_directories(fs::path(t.Template()).parent_path());
       TemplateOfModeNone(t);
     },
     Give(ids::kOpenTemplate), true, Nothing},
    {"a template of the menu", ids::kFirstTemplate + 1, Nothing, Give(ids::kFirstTemplate + 1),
     true, Nothing},
};

class RoutingCaseTest : public CommandRoutingTest,
                        public testing::WithParamInterface<RoutingCase> {};

TEST_P(RoutingCaseTest, TheCommandSeesTheControlsAsTheyStand) {
  const RoutingCase& c = GetParam();
  // The menu's second template names its own path mode: none.
  WriteProgramFile("a.hqd", "[Loomquill]\n");
  WriteProgramFile("b.hqd", "[Loomquill]\nCheckIndex=3\n");
  Start();
  OpenListOf({Src("a.txt")});
  SetOutput(Out());
  ChooseRadio(ids::kModeName);
  SetCheck(ids::kInvertSlash, true);
  // The controls are ahead of the record until a command takes them in.
  ASSERT_EQ(dlg()->settings().CheckIndex, CheckIndexOf(PathMode::kFull));
  ASSERT_FALSE(dlg()->settings().InvertSlash);
  c.prepare(*this);
  c.act(*this);
  c.check(*this);
  if (c.loads_template) {
    EXPECT_TRUE(IsChecked(ids::kModeNone));
    EXPECT_EQ(dlg()->settings().CheckIndex, CheckIndexOf(PathMode::kNone));
    return;
  }
  // Neither lost nor left behind: the record took them, the controls still show them.
  EXPECT_TRUE(IsChecked(ids::kModeName));
  EXPECT_TRUE(IsChecked(ids::kInvertSlash));
  EXPECT_EQ(dlg()->settings().CheckIndex, CheckIndexOf(PathMode::kName));
  EXPECT_TRUE(dlg()->settings().InvertSlash);
}

INSTANTIATE_TEST_SUITE_P(Commands, RoutingCaseTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<RoutingCase>& info) {
                           return "id" + std::to_string(info.param.id);
                         });

// A drop and a hand-over come by the routing too.
TEST_F(CommandRoutingTest, DropsAndHandOversSeeTheControlsAsTheyStand) {
  for (bool drop : {true, false}) {
    SCOPED_TRACE(drop ? "a file dropped on the output field" : "a file handed over");
    Start();
    ChooseRadio(ids::kModeName);
    if (drop) {
      prompts_.answers.push_back(Answer::kYes);
      dlg()->HandleDrop(
          {Src("o.txt")},
          dlg()->FindWindow(ids::kOutFileField)->GetRect().GetPosition() + wxPoint(2, 2));
      EXPECT_EQ(dlg()->settings().FileOutput, Src("o.txt"));
      EXPECT_TRUE(IsChecked(ids::kModeName));
    } else {
      dlg()->ReceiveFile(Src("a.txt"));
      EXPECT_EQ(clipboard_.text, "a.txt");
    }
    EXPECT_EQ(dlg()->settings().CheckIndex, CheckIndexOf(PathMode::kName));
    frame()->Destroy();
    ASSERT_TRUE(FrameGone());
  }
}

// Every command the routing takes the controls in for is driven above.
TEST(CommandRoutingTable, EveryCommandThatTakesTheControlsHasItsCase) {
  std::set<int> driven;
  for (const RoutingCase& c : kCases) driven.insert(c.id);
  for (int id : kTakesControlsFirst) EXPECT_TRUE(driven.contains(id)) << id;
  EXPECT_TRUE(TakesControlsFirst(ids::kFirstTemplate));
  EXPECT_TRUE(TakesControlsFirst(ids::kLastTemplate));
  // Commands that neither compose nor show the record again leave the controls alone.
  for (int id : {ids::kView, ids::kClearList, ids::kUseTooltip, ids::kPreview, ids::kExit}) {
    EXPECT_FALSE(TakesControlsFirst(id)) << id;
  }
}

}  // namespace
}  // namespace lq::test
