// Names the chosen escaping cannot hold, met by the window's commands: each reports the file
// and writes or copies nothing.
#include <fstream>
#include <iterator>

#include "tests/gui/shell/shell_fixture.h"

namespace lq::test {
namespace {

class EscapeRefusalTest : public ShellTest {
 protected:
  void StartWith(const std::vector<std::string>& names) {
    Start();
    OpenListOf(names);
    SetOutput(Out());
    Type(ids::kHeader, "copy \"");
    Type(ids::kQueue, "\" x\n");
  }
  std::string Out() const { return (work_ / "out" / "backup.bat").string(); }
  void ExpectRefusalOf(const std::string& name) {
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_EQ(prompts_.messages[0].caption, "Name cannot be written safely");
    EXPECT_EQ(prompts_.messages[0].text.rfind(name, 0), 0u) << prompts_.messages[0].text;
    EXPECT_NE(prompts_.messages[0].text.find("double quote"), std::string::npos);
    prompts_.messages.clear();
  }
};

TEST_F(EscapeRefusalTest, CreateReportsTheFileAndKeepsTheEarlierOutput) {
  StartWith({Src("fine.txt"), Src("say \"hi\".txt")});
  Command(ids::kEscapeBatch);
  fs::create_directories(work_ / "out");
  { std::ofstream(Out()) << "earlier"; }
  Command(ids::kCreate);
  ExpectRefusalOf(Src("say \"hi\".txt"));
  EXPECT_TRUE(clock_.notices.empty()) << "no \"created\" notice for a refused name";
  std::ifstream in(Out());
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "earlier");

  Command(ids::kCreateAndCopy);  // Create and copy
  ExpectRefusalOf(Src("say \"hi\".txt"));
  EXPECT_EQ(clipboard_.set_count, 0);
}

TEST_F(EscapeRefusalTest, CopiesOfARefusedItemReportItAndCopyNothing) {
  StartWith({Src("say \"hi\".txt")});
  Command(ids::kEscapeBatch);
  SelectItem(0);
  Command(ids::kCopySelected);  // Copy selected item
  ExpectRefusalOf(Src("say \"hi\".txt"));
  Command(ids::kCreateAndCopySelected);  // Create and copy selected item
  ExpectRefusalOf(Src("say \"hi\".txt"));
  dlg()->ReceiveFile(Src("a \"handed\" one.txt"));
  ExpectRefusalOf(Src("a \"handed\" one.txt"));
  EXPECT_EQ(clipboard_.set_count, 0);
  EXPECT_TRUE(dlg()->pending_file().empty());
}

TEST_F(EscapeRefusalTest, TheChosenKindEscapesWhatCreateWrites) {
  StartWith({Src("it's.txt")});
  Type(ids::kHeader, "cp -- '");
  Type(ids::kQueue, "' /b\n");
  Command(ids::kEscapeShell);
  Command(ids::kCreate);
  EXPECT_TRUE(prompts_.messages.empty());
  std::ifstream in(Out());
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
            "cp -- '" + (work_ / "src").string() + "/it'\\''s.txt' /b\n");
}

}  // namespace
}  // namespace lq::test
