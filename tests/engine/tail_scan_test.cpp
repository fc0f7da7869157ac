#include "engine/tail_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace lq {
namespace {

TEST(FindInTail, AgreesWithFindForEveryStartAndLength) {
  // Lengths on both sides of the 32-byte window; what lies before from never counts.
  std::mt19937 rng(5);
  for (std::size_t len = 0; len < 70; ++len) {
    for (int n = 0; n < 20; ++n) {
      std::string s(len, 'a');
      for (char& c : s) {
        if (rng() % 6 == 0) c = "\rZx/"[rng() % 4];
      }
      for (std::size_t from = 0; from <= len; ++from) {
        const std::string_view tail = std::string_view(s).substr(from);
        const unsigned want = (tail.find('\r') != std::string_view::npos ? 1u : 0u) |
                              (tail.find('Z') != std::string_view::npos ? 2u : 0u);
        EXPECT_EQ(FindInTail(s, from, '\r', 'Z'), want) << len << " from " << from;
      }
    }
  }
}

TEST(FindTail, NeedsASeparatorAmongTheLast32Bytes) {
#ifndef __SSE2__
  GTEST_SKIP() << "names are always looked at the usual way on this processor";
#endif
  TailMarks m{};
  EXPECT_FALSE(
      FindTail("/short/name.txt", '/', '/', 'x', 'y', m));  // under 32 bytes: the usual way
  const std::string deep = "/" + std::string(40, 'd') + "/file.tar.gz";
  ASSERT_TRUE(FindTail(deep, '/', '/', 'x', 'y', m));
  EXPECT_EQ(m.separator, 41u);
  EXPECT_EQ(m.dot, deep.size() - 3);
  const std::string far = "/" + std::string(30, 'd') + "/" + std::string(20, 'f');
  ASSERT_TRUE(FindTail(far, '/', '/', 'x', 'y', m));  // 21 bytes from the end
  EXPECT_EQ(m.separator, 31u);
  // Under 32 bytes, only the last 16 are looked at.
  ASSERT_TRUE(FindTail("/home/u/Music/track 7.ogg", '/', '/', 'x', 'y', m));
  EXPECT_EQ(m.separator, 13u);
  EXPECT_EQ(m.dot, 21u);
  EXPECT_FALSE(FindTail("/home/music/a long track name", '/', '/', 'x', 'y', m));
  const std::string flat = "/" + std::string(40, 'n');
  EXPECT_FALSE(FindTail(flat, '/', '/', 'x', 'y', m));
  const std::string ends_in_sep = std::string(40, 'n') + ".d\\";
  ASSERT_TRUE(FindTail(ends_in_sep, '/', '\\', 'x', 'y', m));
  EXPECT_EQ(m.separator, ends_in_sep.size() - 1);
  EXPECT_EQ(m.dot, std::string_view::npos);  // the dot before the separator is not its own
  // x and y count after the separator only.
  const std::string marked = "x" + std::string(20, 'y') + "/" + std::string(12, 'x');
  ASSERT_TRUE(FindTail(marked, '/', '/', 'x', 'y', m));
  EXPECT_EQ(m.found, 1u);
  ASSERT_TRUE(FindTail(marked + "y", '/', '/', 'x', 'y', m));
  EXPECT_EQ(m.found, 3u);
  ASSERT_TRUE(FindTail(marked + "/", '/', '/', 'x', 'y', m));
  EXPECT_EQ(m.found, 0u);
}

}  // namespace
}  // namespace lq
