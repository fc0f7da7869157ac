// The one writer on Windows: attributes, devices.
#include <windows.h>
// after windows.h
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "engine/atomic_file.h"
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

TEST(AtomicFile, AReadOnlyFileIsRefusedAndKept) {
  TempDir dir;
  const fs::path file = dir.path() / "out.txt";
  WriteFile(file.string(), "old");
  ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(test::ReasonOf(Replace(file, "new")), std::strerror(EACCES));
  EXPECT_EQ(ReadFile(file.string()), "old");
  EXPECT_EQ(FilesIn(dir.path()), 1u);
  ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(AtomicFile, AHiddenFileStaysHidden) {
  TempDir dir;
  const fs::path file = dir.path() / "hidden.txt";
  WriteFile(file.string(), "old");
  ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN));
  EXPECT_OK(Replace(file, "new"));
  EXPECT_EQ(ReadFile(file.string()), "new");
  EXPECT_NE(::GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(AtomicFile, TheNullDeviceIsWrittenOnlyWhereDevicesMayBe) {
  EXPECT_OK(Replace("NUL", "x", SpecialFiles::kWrite));
  EXPECT_EQ(test::ReasonOf(Replace("NUL", "x", SpecialFiles::kRefuse)), "not a regular file");
  TempDir dir;
  EXPECT_EQ(test::ReasonOf(Replace(dir.path(), "x")), std::strerror(EISDIR));
}

}  // namespace
}  // namespace lq
