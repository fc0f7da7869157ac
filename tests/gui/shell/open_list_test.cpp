// Open list of a long file: its progress dialog and its Cancel, through the real command.
#include <fstream>

#include "tests/gui/shell/shell_fixture.h"

namespace lq::test {
namespace {

constexpr int kOpenList = 24332;

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
  Command(kOpenList);
  EXPECT_TRUE(prompts_.progress_dialogs.empty());
  EXPECT_EQ(dlg()->list().Count(), 100);
}

TEST_F(OpenListTest, ALongReadShowsItsProgressAndCancelKeepsWhatWasRead) {
  Start();
  const int total = 20000;  // some 900 KB, read in seven chunks
  prompts_.file_answers.push_back(LongList(total));
  clock_.step = 200;  // each chunk seems to take 200 ms
  prompts_.cancel_at = 3;
  Command(kOpenList);
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
  Command(kOpenList);
  clock_.step = 0;
  ASSERT_EQ(prompts_.progress_dialogs.size(), 1u);
  EXPECT_EQ(prompts_.progress_updates.back(), 1000);
  EXPECT_EQ(dlg()->list().Count(), 20000);
}

}  // namespace
}  // namespace lq::test
