#include "persist/profile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/support/as_user.h"
#include "tests/support/result_testing.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace lq {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::size_t CountEntries(const fs::path& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++n;
  return n;
}

TEST(ProfileFile, MissingFileReadsFallbacks) {
  TempDir dir;
  const fs::path file = dir.path() / "none.ini";
  EXPECT_EQ(ReadProfileText(file, "Loomquill", "Key", "dflt", 99), "dflt");
  EXPECT_EQ(ReadProfileInt(file, "Loomquill", "Key", 7), 7);
  EXPECT_FALSE(fs::exists(file));
}

TEST(ProfileFile, WriteCreatesFileAndReadsBack) {
  TempDir dir;
  const fs::path file = dir.path() / "new.ini";
  ASSERT_OK(WriteProfileText(file, "Loomquill", "Key", "v"));
  ASSERT_OK(WriteProfileText(file, "Loomquill", "N", "-3"));
  EXPECT_EQ(ReadFile(file.string()), "[Loomquill]\nKey=v\nN=-3\n");
  EXPECT_EQ(ReadProfileText(file, "loomquill", "key", "", 99), "v");
  EXPECT_EQ(ReadProfileInt(file, "Loomquill", "N", 0), -3);
  // Nothing but the file itself is left in the folder.
  EXPECT_EQ(CountEntries(dir.path()), 1u);
}

TEST(ProfileFile, DamagedFileKeepsEveryUntouchedByte) {
  TempDir dir;
  const fs::path file = dir.path() / "damaged.ini";
  const std::string junk = std::string("\x00\x01\xFF\xFE junk\n", 10) + std::string(10 << 20, 'L') +
                           "\nKey=outside any section\n" + "no final break \x80";
  WriteFile(file.string(), junk);
  EXPECT_EQ(ReadProfileText(file, "Loomquill", "Key", "dflt", 999), "dflt");
  ASSERT_OK(WriteProfileText(file, "Loomquill", "Key", "v"));
  EXPECT_EQ(ReadFile(file.string()), junk + "\n[Loomquill]\nKey=v\n");
}

TEST(ProfileFile, RefusedValueLeavesFileAloneAndIsReported) {
  TempDir dir;
  const fs::path file = dir.path() / "p.ini";
  WriteFile(file.string(), "[Loomquill]\nKey=old\n");
  const Status failed = WriteProfileText(file, "Loomquill", "Key", "a\nb");
  ASSERT_FALSE(failed.ok());
  EXPECT_EQ(failed.failure().text, file.string());
  EXPECT_EQ(ReadFile(file.string()), "[Loomquill]\nKey=old\n");
  // A refused value in a missing file creates nothing.
  EXPECT_FALSE(WriteProfileText(dir.path() / "q.ini", "Loomquill", "Key", "a\rb").ok());
  EXPECT_FALSE(fs::exists(dir.path() / "q.ini"));
}

TEST(ProfileFile, MissingFolderIsReported) {
  TempDir dir;
  const fs::path file = dir.path() / "no" / "such" / "p.ini";
  const Status failed = WriteProfileText(file, "Loomquill", "Key", "v");
  ASSERT_FALSE(failed.ok());
  EXPECT_EQ(failed.failure().caption, kCannotWriteCaption);
  EXPECT_FALSE(fs::exists(dir.path() / "no"));
}

TEST(ProfileFile, FileThatCannotBeReadIsNeverReplaced) {
  TempDir dir;
  // A folder where the file should be cannot be read as a profile.
  const fs::path folder = dir.path() / "p.ini";
  fs::create_directory(folder);
  WriteFile((folder / "inside").string(), "x");
  EXPECT_FALSE(WriteProfileText(folder, "Loomquill", "Key", "v").ok());
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(ReadFile((folder / "inside").string()), "x");

  // Over the size limit: read as empty, never rewritten (sparse, so cheap to make).
  const fs::path big = dir.path() / "big.ini";
  WriteFile(big.string(), "[Loomquill]\nKey=v\n");
  fs::resize_file(big, kProfileFileMax + 1);
  EXPECT_EQ(ReadProfileText(big, "Loomquill", "Key", "dflt", 99), "dflt");
  EXPECT_FALSE(WriteProfileText(big, "Loomquill", "Key", "w").ok());
  EXPECT_EQ(fs::file_size(big), kProfileFileMax + 1);
}

#ifndef _WIN32  // permission bits and symbolic links are POSIX's
TEST(ProfileFile, UnreadablePermissionsAreNotOverwritten) {
  TempDir dir;
  ASSERT_TRUE(test::GiveToOrdinaryUser(dir.path()));
  const fs::path file = dir.path() / "p.ini";
  const auto ok = test::AsOrdinaryUser([&] {
    WriteFile(file.string(), "[Loomquill]\nKey=old\nOther=keep\n");
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::replace);
    const bool unread = ReadProfileText(file, "Loomquill", "Key", "dflt", 99) == "dflt";
    const bool refused = !WriteProfileText(file, "Loomquill", "Key", "new").ok();
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write,
                    fs::perm_options::replace);
    return unread && refused && ReadFile(file.string()) == "[Loomquill]\nKey=old\nOther=keep\n";
  });
  ASSERT_TRUE(ok.has_value()) << "could not drop the superuser's rights";
  EXPECT_TRUE(*ok);
}
#endif

#ifndef _WIN32  // permission bits and symbolic links are POSIX's
// A folder that refuses new files: a writable settings file in it is written in place, whole,
// and a read-only one is refused and kept.
TEST(ProfileFile, ReadOnlyFolderWritesAWritableFileInPlaceAndKeepsAReadOnlyOne) {
  TempDir dir;
  ASSERT_TRUE(test::GiveToOrdinaryUser(dir.path()));
  const fs::path file = dir.path() / "p.ini";
  const fs::path locked = dir.path() / "locked.ini";
  const auto ok = test::AsOrdinaryUser([&] {
    WriteFile(file.string(), "[Loomquill]\nKey=old\n");
    WriteFile(locked.string(), "[Loomquill]\nKey=old\n");
    fs::permissions(locked, fs::perms::owner_read, fs::perm_options::replace);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec,
                    fs::perm_options::replace);
    const bool written = WriteProfileText(file, "Loomquill", "Key", "new").ok();
    const bool refused = !WriteProfileText(locked, "Loomquill", "Key", "new").ok();
    fs::permissions(dir.path(), fs::perms::owner_all, fs::perm_options::replace);
    return written && refused && ReadFile(file.string()) == "[Loomquill]\nKey=new\n" &&
           ReadFile(locked.string()) == "[Loomquill]\nKey=old\n" && CountEntries(dir.path()) == 2;
  });
  ASSERT_TRUE(ok.has_value()) << "could not drop the superuser's rights";
  EXPECT_TRUE(*ok);
}
#endif

#ifndef _WIN32  // permission bits and symbolic links are POSIX's
TEST(ProfileFile, KeepsPermissionsAndLinks) {
  TempDir dir;
  const fs::path real = dir.path() / "real.ini";
  const fs::path link = dir.path() / "link.ini";
  WriteFile(real.string(), "[Loomquill]\r\nKey=old\r\n");
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
  fs::create_symlink("real.ini", link);
  ASSERT_OK(WriteProfileText(link, "Loomquill", "Key", "new"));
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
  EXPECT_EQ(ReadFile(real.string()), "[Loomquill]\r\nKey=new\r\n");
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(CountEntries(dir.path()), 2u);
}
#endif

TEST(ProfileFile, UnchangedValueDoesNotRewrite) {
  TempDir dir;
  const fs::path file = dir.path() / "p.ini";
  WriteFile(file.string(), "[Loomquill]\nKey=v\n");
  const auto before = fs::last_write_time(file);
  fs::last_write_time(file, before - std::chrono::hours(1));
  ASSERT_OK(WriteProfileText(file, "Loomquill", "Key", "v"));
  EXPECT_EQ(fs::last_write_time(file), before - std::chrono::hours(1));
}

}  // namespace
}  // namespace lq
