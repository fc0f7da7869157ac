// The one writer on POSIX systems: permissions, owners, links, attributes, pipes, full disks.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>

#include "engine/atomic_file.h"
#include "tests/engine/replace_file.h"
#include "tests/support/as_user.h"
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

ino_t Inode(const fs::path& file) {
  struct stat st {};
  return ::stat(file.c_str(), &st) == 0 ? st.st_ino : 0;
}

TEST(AtomicFile, AReadOnlyFileIsRefusedAndKept) {
  TempDir dir;
  ASSERT_TRUE(test::GiveToOrdinaryUser(dir.path()));
  const fs::path file = dir.path() / "out.txt";
  const auto refused = test::AsOrdinaryUser([&] {
    WriteFile(file.string(), "old");
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const Status why = Replace(file, "new");
    return test::ReasonOf(why) == std::strerror(EACCES) && ReadFile(file.string()) == "old" &&
           FilesIn(dir.path()) == 1;
  });
  ASSERT_TRUE(refused.has_value()) << "could not drop the superuser's rights";
  EXPECT_TRUE(*refused);
  if (::geteuid() == 0) {
    // The superuser may write it, as cp may; the mode stays.
    EXPECT_OK(Replace(file, "root's"));
    EXPECT_EQ(ReadFile(file.string()), "root's");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  }
}

TEST(AtomicFile, HardLinksStayOneFile) {
  TempDir dir;
  const fs::path a = dir.path() / "a.txt";
  const fs::path b = dir.path() / "b.txt";
  WriteFile(a.string(), "old");
  fs::create_hard_link(a, b);
  const ino_t inode = Inode(a);
  EXPECT_OK(Replace(a, "new and longer"));
  EXPECT_EQ(ReadFile(b.string()), "new and longer");
  EXPECT_EQ(Inode(a), inode);
  EXPECT_EQ(fs::hard_link_count(a), 2u);
  EXPECT_OK(Replace(b, "short"));
  EXPECT_EQ(ReadFile(a.string()), "short");
}

TEST(AtomicFile, TheOwnerStaysWhenTheSuperuserWritesAnotherUsersFile) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser";
  TempDir dir;
  const fs::path file = dir.path() / "theirs.txt";
  WriteFile(file.string(), "old");
  ASSERT_EQ(::chown(file.c_str(), test::OrdinaryUserId(), test::OrdinaryUserId()), 0);
  EXPECT_OK(Replace(file, "new"));
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, test::OrdinaryUserId());
  EXPECT_EQ(ReadFile(file.string()), "new");
}

TEST(AtomicFile, ExtendedAttributesStay) {
  TempDir dir;
  const fs::path file = dir.path() / "tagged.txt";
  WriteFile(file.string(), "old");
  if (::setxattr(file.c_str(), "user.loomquill", "kept", 4, 0) != 0) {
    GTEST_SKIP() << "no user attributes here: " << std::strerror(errno);
  }
  EXPECT_OK(Replace(file, "new"));
  char value[16] = {};
  EXPECT_EQ(::getxattr(file.c_str(), "user.loomquill", value, sizeof value), 4);
  EXPECT_EQ(std::string(value), "kept");
  EXPECT_EQ(ReadFile(file.string()), "new");
}

TEST(AtomicFile, LinksAreWrittenThroughAndADanglingOneGetsItsTarget) {
  TempDir dir;
  const fs::path target = dir.path() / "real.txt";
  const fs::path link = dir.path() / "link.txt";
  fs::create_symlink("real.txt", link);
  EXPECT_OK(Replace(link, "made"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(target.string()), "made");
  EXPECT_OK(Replace(link, "again"));
  EXPECT_EQ(ReadFile(target.string()), "again");
  fs::create_symlink("loop", dir.path() / "loop");
  EXPECT_FALSE(Replace(dir.path() / "loop", "x").ok());
}

TEST(AtomicFile, AFolderThatRefusesNewFilesStillLetsAWritableFileBeWritten) {
  TempDir dir;
  ASSERT_TRUE(test::GiveToOrdinaryUser(dir.path()));
  const fs::path folder = dir.path() / "locked";
  const fs::path file = folder / "list.lst";
  const auto ok = test::AsOrdinaryUser([&] {
    fs::create_directory(folder);
    WriteFile(file.string(), "old content, longer than the new");
    const ino_t inode = Inode(file);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    const bool written = Replace(file, "new").ok() && ReadFile(file.string()) == "new" &&
                         Inode(file) == inode && FilesIn(folder) == 1;
    // More than fits: the old content must survive whole.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const bool refused = !Replace(file, std::string(10000, 'x')).ok();
    setrlimit(RLIMIT_FSIZE, &old);
    const bool kept = ReadFile(file.string()) == "new";
    fs::permissions(folder, fs::perms::owner_all);
    return written && refused && kept;
  });
  ASSERT_TRUE(ok.has_value()) << "could not drop the superuser's rights";
  EXPECT_TRUE(*ok);
}

TEST(AtomicFile, SpecialFilesAsEachWriterWants) {
  TempDir dir;
  const fs::path fifo = dir.path() / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(test::ReasonOf(Replace(fifo, "x", SpecialFiles::kRefuse)), "not a regular file");
  // Nobody reads it: the window must not wait for somebody to.
  EXPECT_EQ(test::ReasonOf(Replace(fifo, "x", SpecialFiles::kNoWait)),
            "no program reads this pipe");
  EXPECT_OK(Replace("/dev/null", "x", SpecialFiles::kNoWait));
  EXPECT_OK(Replace("/dev/null", "x", SpecialFiles::kWrite));
  EXPECT_EQ(test::ReasonOf(Replace("/dev/null", "x", SpecialFiles::kRefuse)), "not a regular file");
  EXPECT_EQ(test::ReasonOf(Replace(dir.path(), "x")), std::strerror(EISDIR));
}

// A small file system of its own, for full disks; only the superuser may mount one.
class TinyDisk {
 public:
  explicit TinyDisk(const std::string& options) {
    path_ = dir_.path() / "disk";
    fs::create_directory(path_);
    mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~TinyDisk() {
    if (mounted_) ::umount(path_.c_str());
  }
  bool mounted() const { return mounted_; }
  const fs::path& path() const { return path_; }

 private:
  TempDir dir_;
  fs::path path_;
  bool mounted_ = false;
};

TEST(AtomicFile, AFullDiskLeavesTheEarlierFileWhole) {
  TinyDisk disk("size=64k");
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
  const fs::path file = disk.path() / "out.txt";
  WriteFile(file.string(), std::string(8192, 'o'));
  // Fill the rest, so that the new content finds no room.
  WriteFile((disk.path() / "filler").string(), std::string(40000, 'f'));
  EXPECT_EQ(test::ReasonOf(Replace(file, std::string(30000, 'n'))), std::strerror(ENOSPC));
  EXPECT_EQ(ReadFile(file.string()), std::string(8192, 'o'));
  EXPECT_EQ(FilesIn(disk.path()), 2u);
}

TEST(AtomicFile, NoFreeInodeLeavesTheEarlierFileWhole) {
  TinyDisk disk("size=1m,nr_inodes=3");
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
  const fs::path file = disk.path() / "out.txt";
  WriteFile(file.string(), "earlier");
  WriteFile((disk.path() / "last inode").string(), "x");
  EXPECT_FALSE(Replace(file, "new content").ok());
  EXPECT_EQ(ReadFile(file.string()), "earlier");
}

}  // namespace
}  // namespace lq
