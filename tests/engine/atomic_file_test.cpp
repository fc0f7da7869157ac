// The one writer of every file Loomquill writes, on real files: what holds on every system.
#include "engine/atomic_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>

#include "engine/path_text.h"
#include "tests/engine/replace_file.h"
#include "tests/support/result_testing.h"
#include "tests/support/temp_dir.h"

namespace lq {
namespace {

namespace fs = std::filesystem;
using test::FilesIn;
using test::ReadFile;
using test::Replace;
using test::TempDir;
using test::WriteFile;

TEST(AtomicFile, TheLongestNamesAreWritten) {
  TempDir dir;
  const fs::path file = dir.path() / std::string(255, 'n');
  EXPECT_OK(Replace(file, "first"));
  EXPECT_OK(Replace(file, "second"));
  EXPECT_EQ(ReadFile(file.string()), "second");
  EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(AtomicFile, StaleTemporaryFilesOfOursAreRemoved) {
  TempDir dir;
  const fs::path stale = dir.path() / ".lq-abcdefgh.tmp";
  const fs::path fresh = dir.path() / ".lq-12345678.tmp";
  const fs::path other = dir.path() / ".lq-notours.tmp";
  for (const fs::path& p : {stale, fresh, other}) WriteFile(p.string(), "left");
  const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(10);
  fs::last_write_time(stale, old);
  fs::last_write_time(other, old);
  EXPECT_OK(Replace(dir.path() / "out.txt", "x"));
  EXPECT_FALSE(fs::exists(stale));
#ifdef _WIN32
  EXPECT_TRUE(fs::exists(fresh)) << "it may belong to a write still going";
#else
  // Here a live write holds a lock on its file: one that nobody holds is litter, however new.
  EXPECT_FALSE(fs::exists(fresh));
#endif
  EXPECT_TRUE(fs::exists(other));
}

TEST(AtomicFile, AFailedWriteLeavesNothingBehind) {
  TempDir dir;
  const fs::path file = dir.path() / "out.txt";
  WriteFile(file.string(), "earlier");
  {
    AtomicFile out(file, SpecialFiles::kRefuse);
    ASSERT_OK(out.Open());
    out.Write("half", 4);
    // Dropped without Commit, as after a refused name.
  }
  EXPECT_EQ(ReadFile(file.string()), "earlier");
  EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(AtomicFile, NamesOfAnyCharacterAreWritten) {
  TempDir dir;
  const fs::path file = dir.path() / ToPath("\xc3\xbc \xe2\x98\x83.txt");
  EXPECT_OK(Replace(file, "first"));
  EXPECT_OK(Replace(file, "second"));
  EXPECT_EQ(ReadFile(ToText(file)), "second");
  EXPECT_EQ(FilesIn(dir.path()), 1u);
}

}  // namespace
}  // namespace lq
