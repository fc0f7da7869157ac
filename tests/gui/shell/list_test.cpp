// The file list: moving, deleting, clearing, the counter, and list files.

#include "tests/gui/shell/shell_fixture.h"

namespace lq::test {
namespace {

class ListTest : public ShellTest {
 protected:
  std::vector<std::string> Names(const std::string& letters) const {
    std::vector<std::string> names;
    for (char c : letters) names.push_back(Src(std::string(1, c)));
    return names;
  }
  int Selected() const { return ListBox()->FocusedItem(); }
};

TEST_F(ListTest, CounterShowsSelectionAndCount) {
  Start();
  OpenListOf(Names("abcdefghijkl"));
  ASSERT_EQ(Items().size(), 12u);
  EXPECT_EQ(Counter(), "1/12");
  SelectItem(2);
  EXPECT_EQ(Counter(), "3/12");
  SelectItem(11);
  EXPECT_EQ(Counter(), "12/12");
}

// The user's moves, one after the other, with the list and the counter after each.
TEST_F(ListTest, MoveDeleteAndClearKeepTheCounterInStep) {
  struct Step {
    const char* what;
    std::function<void(ListTest&)> act;
    const char* order;  // the list after the step, one letter per item
    const char* counter;
  };
  const Step steps[] = {
      {"select c", [](ListTest& t) { t.SelectItem(2); }, "abcd", "3/4"},
      {"up", [](ListTest& t) { t.Click(ids::kMoveUp); }, "acbd", "2/4"},
      {"up again", [](ListTest& t) { t.Click(ids::kMoveUp); }, "cabd", "1/4"},
      {"up at the top", [](ListTest& t) { t.Click(ids::kMoveUp); }, "cabd", "1/4"},
      {"down from the menu", [](ListTest& t) { t.Command(ids::kMoveDown); }, "acbd", "2/4"},
      {"select the last", [](ListTest& t) { t.SelectItem(3); }, "acbd", "4/4"},
      {"down at the bottom", [](ListTest& t) { t.Click(ids::kMoveDown); }, "acbd", "4/4"},
      {"delete the last", [](ListTest& t) { t.Click(ids::kDeleteItem); }, "acb", "3/3"},
      {"select the first", [](ListTest& t) { t.SelectItem(0); }, "acb", "1/3"},
      {"delete the first", [](ListTest& t) { t.Click(ids::kDeleteItem); }, "cb", "1/2"},
      {"clear from the tool bar", [](ListTest& t) { t.ToolCommand(ids::kClearList); }, "", "0/0"},
      {"up on an empty list", [](ListTest& t) { t.Click(ids::kMoveUp); }, "", "0/0"},
  };
  Start();
  OpenListOf(Names("abcd"));
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act(*this);
    std::vector<std::string> expected;
    for (const char* c = step.order; *c != '\0'; ++c) expected.push_back(Src(std::string(1, *c)));
    EXPECT_EQ(Items(), expected);
    EXPECT_EQ(Counter(), step.counter);
    if (!expected.empty()) {
      EXPECT_EQ(Selected(), std::stoi(step.counter) - 1) << "the list box shows the selection";
    }
  }
  // Only the move on the empty list asked for files.
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].caption, "Info");
}

TEST_F(ListTest, DeletingTheOnlyItemLeavesZeroOfZero) {
  Start();
  OpenListOf(Names("a"));
  Command(ids::kDeleteItem);
  EXPECT_TRUE(Items().empty());
  EXPECT_EQ(Counter(), "0/0");
  EXPECT_TRUE(prompts_.messages.empty());
}

TEST_F(ListTest, ClearFromTheMenuAsksNothing) {
  Start();
  OpenListOf(Names("abc"));
  Command(ids::kClearList);
  EXPECT_TRUE(Items().empty());
  EXPECT_EQ(Counter(), "0/0");
  EXPECT_TRUE(prompts_.messages.empty());
}

TEST_F(ListTest, OpenListAppendsAndAsksWithItsDialog) {
  Start();
  const fs::path file = work_ / "saved.lst";
  WriteAll(file, Src("x") + "\n\n" + Src("y") + "\n");
  prompts_.file_answers = {file.string(), file.string()};
  Command(ids::kOpenList);
  const std::vector<std::string> once{Src("x"), "", Src("y")};
  EXPECT_EQ(Items(), once);
  Command(ids::kOpenList);
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(Items(), twice);
  EXPECT_EQ(Counter(), "1/6");

  ASSERT_EQ(prompts_.file_dialogs.size(), 2u);
  const FakePrompts::FileCall& call = prompts_.file_dialogs[0];
  EXPECT_STREQ(call.kind.title, "Open List");
  EXPECT_STREQ(call.kind.filter_description, "List file");
  EXPECT_STREQ(call.kind.filter_pattern, "*.lst");
  EXPECT_STREQ(call.kind.default_extension, "lst");
  EXPECT_TRUE(call.kind.open);
  EXPECT_EQ(call.initial_name, "");
  EXPECT_EQ(call.folder, "");
}

TEST_F(ListTest, OpenListCancelledChangesNothing) {
  Start();
  OpenListOf(Names("ab"));
  SelectItem(1);
  prompts_.file_answers.push_back(std::nullopt);
  Command(ids::kOpenList);
  EXPECT_EQ(Items(), Names("ab"));
  EXPECT_EQ(Counter(), "2/2");
  EXPECT_TRUE(prompts_.messages.empty());
}

TEST_F(ListTest, OpenListOfAMissingFileNamesIt) {
  Start();
  OpenListOf(Names("a"));
  const std::string missing = (work_ / "nowhere.lst").string();
  prompts_.file_answers.push_back(missing);
  Command(ids::kOpenList);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  const std::string& text = prompts_.messages[0].text;
  EXPECT_EQ(text.substr(0, text.find('\n')), missing);
  EXPECT_EQ(prompts_.messages[0].caption, "Invalid file name");
  EXPECT_EQ(prompts_.messages[0].style, kPromptOk);
  EXPECT_EQ(Items(), Names("a"));
}

TEST_F(ListTest, SaveListWritesTheNamesWithoutATrailingBreak) {
  Start();
  OpenListOf(Names("ab"));
  const fs::path file = work_ / "out" / "saved.lst";
  prompts_.file_answers.push_back(file.string());
  Command(ids::kSaveList);
  EXPECT_EQ(ReadAll(file), Src("a") + "\n" + Src("b"));
  ASSERT_EQ(prompts_.file_dialogs.size(), 2u);
  const FakePrompts::FileCall& call = prompts_.file_dialogs[1];
  EXPECT_STREQ(call.kind.title, "Save List");
  EXPECT_STREQ(call.kind.filter_description, "List file");
  EXPECT_STREQ(call.kind.filter_pattern, "*.lst");
  EXPECT_STREQ(call.kind.default_extension, "lst");
  EXPECT_FALSE(call.kind.open);
  EXPECT_EQ(call.initial_name, "");
  EXPECT_EQ(call.folder, "");

  // Reading it back appends the same names.
  Command(ids::kClearList);
  prompts_.file_answers.push_back(file.string());
  Command(ids::kOpenList);
  EXPECT_EQ(Items(), Names("ab"));
}

TEST_F(ListTest, SaveListThatCannotBeWrittenNamesIt) {
  Start();
  OpenListOf(Names("a"));
  WriteAll(work_ / "plain", "x");
  const std::string bad = (work_ / "plain" / "saved.lst").string();
  prompts_.file_answers.push_back(bad);
  Command(ids::kSaveList);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  const std::string& text = prompts_.messages[0].text;
  EXPECT_EQ(text.substr(0, text.find('\n')), bad);
  EXPECT_EQ(prompts_.messages[0].caption, "Invalid output file name");
}

TEST_F(ListTest, SaveListCancelledWritesNothing) {
  Start();
  OpenListOf(Names("a"));
  prompts_.file_answers.push_back(std::nullopt);
  Command(ids::kSaveList);
  EXPECT_EQ(prompts_.file_dialogs.size(), 2u);
  EXPECT_TRUE(prompts_.messages.empty());
}

// A dropped name may hold a line break, which a list file cannot hold: Save list names the
// item and writes nothing, neither a new file nor over an earlier one.
TEST_F(ListTest, SaveListRefusesANameHoldingALineBreak) {
  Start();
  OpenListOf(Names("a"));
  const std::string broken = Src("two\nlines.txt");
  const wxRect list = ListBox()->GetRect();
  dlg()->HandleDrop({broken}, list.GetPosition() + wxSize(list.width / 2, list.height / 2));
  ASSERT_EQ(Items(), (std::vector<std::string>{Src("a"), broken}));

  const fs::path earlier = work_ / "out" / "earlier.lst";
  WriteAll(earlier, "/kept/1\n/kept/2");
  const fs::path fresh = work_ / "out" / "fresh.lst";
  for (const fs::path& file : {earlier, fresh}) {
    SCOPED_TRACE(file.filename().string());
    prompts_.messages.clear();
    prompts_.file_answers.push_back(file.string());
    Command(ids::kSaveList);
    ASSERT_EQ(prompts_.messages.size(), 1u);
    const FakePrompts::MessageCall& message = prompts_.messages[0];
    EXPECT_EQ(message.text, Src("two\u240Alines.txt") +
                                "\n\nthe name holds a line break, which a list file cannot hold");
    EXPECT_EQ(message.caption, "Cannot save list");
    EXPECT_EQ(message.style, kPromptOk);
  }
  EXPECT_EQ(ReadAll(earlier), "/kept/1\n/kept/2");
  EXPECT_FALSE(fs::exists(fresh));
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(work_ / "out")) {
    left.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(left, std::vector<std::string>{"earlier.lst"}) << "no half-written file either";
  EXPECT_EQ(Items(), (std::vector<std::string>{Src("a"), broken})) << "the list stays";

  // Without that name the list saves again.
  SelectItem(1);
  Click(ids::kDeleteItem);
  prompts_.messages.clear();
  prompts_.file_answers.push_back(fresh.string());
  Command(ids::kSaveList);
  EXPECT_TRUE(prompts_.messages.empty());
  EXPECT_EQ(ReadAll(fresh), Src("a"));
}

}  // namespace
}  // namespace lq::test
