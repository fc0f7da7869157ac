// Open list through the real command: the progress dialog of a long file and its Cancel,
// and lines too long for a name.
#include <fstream>

#include "tests/gui/shell/shell_fixture.h"

namespace lq::test {
namespace {

class OpenListTest : public ShellTest {
 protected:
  // A list of count names, read in many chunks when count is large.
  std::string LongList(int count) {
    const fs::path file = work_ / "long.lst";
    std::ofstream out(file, std::ios::binary);
    for (int i = 0; i < count; ++i) out << "/some/folder/with a long name/file " << i << "\n";
    return file.string();
  }
};

TEST_F(OpenListTest, AQuickReadShowsNoProgress) {
  Start();
  prompts_.file_answers.push_back(LongList(100));
  Command(ids::kOpenList);
  EXPECT_TRUE(prompts_.progress_dialogs.empty());
  EXPECT_EQ(dlg()->list().Count(), 100);
}

TEST_F(OpenListTest, ALongReadShowsItsProgressAndCancelKeepsWhatWasRead) {
  Start();
  const int total = 20000;  // some 900 KB, read in seven chunks
  prompts_.file_answers.push_back(LongList(total));
  clock_.step = 200;  // each chunk seems to take 200 ms
  prompts_.cancel_at = 3;
  Command(ids::kOpenList);
  clock_.step = 0;
  ASSERT_EQ(prompts_.progress_dialogs.size(), 1u);
  ASSERT_EQ(prompts_.progress_updates.size(), 3u);
  EXPECT_LT(prompts_.progress_updates[0], prompts_.progress_updates[2]);
  EXPECT_TRUE(prompts_.messages.empty());
  const int kept = dlg()->list().Count();
  EXPECT_GT(kept, 0);
  EXPECT_LT(kept, total);
  EXPECT_EQ(*dlg()->list().Item(0), "/some/folder/with a long name/file 0");
}

TEST_F(OpenListTest, ReadToTheEndTheProgressReachesItsEnd) {
  Start();
  prompts_.file_answers.push_back(LongList(20000));
  clock_.step = 200;
  Command(ids::kOpenList);
  clock_.step = 0;
  ASSERT_EQ(prompts_.progress_dialogs.size(), 1u);
  EXPECT_EQ(prompts_.progress_updates.back(), 1000);
  EXPECT_EQ(dlg()->list().Count(), 20000);
}

// A line too long for a name is left out whole, never cut into names of other files: every
// other line is added, and one message names the list file, how many lines it left out and
// the first of them. The selection and the counter go as after any Open list.
TEST_F(OpenListTest, LinesTooLongAreLeftOutAndToldInOneMessage) {
  const std::string k999 = "/" + std::string(998, 'n');
  const std::string k1000 = "/" + std::string(999, 'n');
  std::string split_char = "/";  // 1000 bytes, the 999th the first of a character
  for (int i = 0; i < 498; ++i) split_char += "\xC3\xA9";
  split_char += "x\xC3\xA9";
  Start();
  const fs::path file = work_ / "mixed.lst";
  WriteAll(file,
           "/a\r\n" + k1000 + "\r\n/b\r\n" + k999 + "\r\n" + k999 + "\n" + split_char + "\n/c");
  prompts_.file_answers.push_back(file.string());
  Command(ids::kOpenList);
  EXPECT_EQ(Items(), (std::vector<std::string>{"/a", "/b", k999, k999, "/c"}));
  EXPECT_EQ(Counter(), "1/5");
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].text, file.string() +
                                           "\n\n2 lines were left out:\n"
                                           "2: name longer than 999 bytes\n"
                                           "6: name longer than 999 bytes");
  EXPECT_EQ(prompts_.messages[0].caption, "Lines left out");
  EXPECT_EQ(prompts_.messages[0].style, kPromptOk);

  // Many are counted, the first five shown; the list opened before is kept as it was.
  SelectItem(2);
  std::string many = "/d";
  for (int i = 0; i < 8; ++i) many += "\n" + k1000;
  const fs::path more = work_ / "more.lst";
  WriteAll(more, many + "\n/e\n");
  prompts_.file_answers.push_back(more.string());
  Command(ids::kOpenList);
  EXPECT_EQ(Items(), (std::vector<std::string>{"/a", "/b", k999, k999, "/c", "/d", "/e"}));
  EXPECT_EQ(Counter(), "3/7");
  ASSERT_EQ(prompts_.messages.size(), 2u);
  EXPECT_EQ(prompts_.messages[1].text, more.string() +
                                           "\n\n8 lines were left out:\n"
                                           "2: name longer than 999 bytes\n"
                                           "3: name longer than 999 bytes\n"
                                           "4: name longer than 999 bytes\n"
                                           "5: name longer than 999 bytes\n"
                                           "6: name longer than 999 bytes\n"
                                           "and 3 more");
}

}  // namespace
}  // namespace lq::test
