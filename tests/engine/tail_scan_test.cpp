#include "engine/tail_scan.h"

#include <gtest/gtest.h>

#include <string>

namespace lq {
namespace {

TEST(FindTail, NeedsASeparatorAmongTheLast32Bytes) {
  if (!kHaveSse2) GTEST_SKIP() << "names are always looked at the usual way on this processor";
  TailMarks m{};
  EXPECT_FALSE(FindPosixTail("/short/name.txt", m));  // under 32 bytes: the usual way
  const std::string deep = "/" + std::string(40, 'd') + "/file.tar.gz";
  ASSERT_TRUE(FindPosixTail(deep, m));
  EXPECT_EQ(m.separator, 41u);
  EXPECT_EQ(m.dot, deep.size() - 3);
  const std::string far = "/" + std::string(30, 'd') + "/" + std::string(20, 'f');
  ASSERT_TRUE(FindPosixTail(far, m));  // 21 bytes from the end
  EXPECT_EQ(m.separator, 31u);
  // Under 32 bytes, only the last 16 are looked at.
  ASSERT_TRUE(FindPosixTail("/home/u/Music/track 7.ogg", m));
  EXPECT_EQ(m.separator, 13u);
  EXPECT_EQ(m.dot, 21u);
  EXPECT_FALSE(FindPosixTail("/home/music/a long track name", m));
  const std::string flat = "/" + std::string(40, 'n');
  EXPECT_FALSE(FindPosixTail(flat, m));
  const std::string ends_in_sep = std::string(40, 'n') + ".d\\";
  ASSERT_TRUE(FindNameTail(ends_in_sep, '\\', m));
  EXPECT_EQ(m.separator, ends_in_sep.size() - 1);
  EXPECT_EQ(m.dot, std::string_view::npos);  // the dot before the separator is not its own
}

}  // namespace
}  // namespace lq
