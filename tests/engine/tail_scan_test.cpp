#include "engine/tail_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace lq {
namespace {

TEST(FindHitsFrom, AgreesWithFindForEveryStartAndLength) {
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
        const TailHits hits = FindHitsFrom(s, from);
        EXPECT_EQ(hits.cr, tail.find('\r') != std::string_view::npos) << len << " from " << from;
        EXPECT_EQ(hits.z, tail.find('Z') != std::string_view::npos) << len << " from " << from;
      }
    }
  }
}

TEST(FindTail, NeedsASeparatorAmongTheLast32Bytes) {
  if (!kHaveSse2) GTEST_SKIP() << "names are always looked at the usual way on this processor";
  TailMarks m{};
  TailHits h;
  EXPECT_FALSE(FindPosixTail("/short/name.txt", m, h));  // under 32 bytes: the usual way
  const std::string deep = "/" + std::string(40, 'd') + "/file.tar.gz";
  ASSERT_TRUE(FindPosixTail(deep, m, h));
  EXPECT_EQ(m.separator, 41u);
  EXPECT_EQ(m.dot, deep.size() - 3);
  const std::string far = "/" + std::string(30, 'd') + "/" + std::string(20, 'f');
  ASSERT_TRUE(FindPosixTail(far, m, h));  // 21 bytes from the end
  EXPECT_EQ(m.separator, 31u);
  // Under 32 bytes, only the last 16 are looked at.
  ASSERT_TRUE(FindPosixTail("/home/u/Music/track 7.ogg", m, h));
  EXPECT_EQ(m.separator, 13u);
  EXPECT_EQ(m.dot, 21u);
  EXPECT_FALSE(FindPosixTail("/home/music/a long track name", m, h));
  const std::string flat = "/" + std::string(40, 'n');
  EXPECT_FALSE(FindPosixTail(flat, m, h));
  const std::string ends_in_sep = std::string(40, 'n') + ".d\\";
  ASSERT_TRUE(FindNameTail(ends_in_sep, '\\', m));
  EXPECT_EQ(m.separator, ends_in_sep.size() - 1);
  EXPECT_EQ(m.dot, std::string_view::npos);  // the dot before the separator is not its own
  // A CR and a 'Z' count after the separator only.
  const std::string marked = "\r" + std::string(20, 'Z') + "/" + std::string(12, '\r');
  ASSERT_TRUE(FindPosixTail(marked, m, h));
  EXPECT_TRUE(h.cr);
  EXPECT_FALSE(h.z);
  ASSERT_TRUE(FindPosixTail(marked + "Z", m, h));
  EXPECT_TRUE(h.cr);
  EXPECT_TRUE(h.z);
  ASSERT_TRUE(FindPosixTail(marked + "/", m, h));
  EXPECT_FALSE(h.cr);
  EXPECT_FALSE(h.z);
}

}  // namespace
}  // namespace lq
