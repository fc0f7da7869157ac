// AtomicFile on POSIX systems: open(2) and friends, since the standard library can neither
// create a file exclusively with a mode, nor sync it, nor keep its owner and attributes.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <vector>

#include "engine/atomic_file.h"
#include "engine/atomic_file_steps.h"
#include "engine/temp_files.h"

namespace lq {
namespace fs = std::filesystem;
using atomic_steps::Reason;

namespace {

extern "C" void RemoveTempsAndDie(int sig) {
  for (std::size_t i = 0; i < kTempSlots; ++i) {
    if (const char* temp = RegisteredTemp(i)) ::unlink(temp);
  }
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

// Removes what a killed write of ours left: our pattern, our user, untouched for a minute.
void RemoveStaleTemps(const fs::path& folder) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return;
  const std::time_t now = std::time(nullptr);
  const int dfd = ::dirfd(dir);
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsTempName(entry->d_name)) continue;
    struct stat st {};
    if (::fstatat(dfd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && st.st_mtime + 60 < now) {
      ::unlinkat(dfd, entry->d_name, 0);
    }
  }
  ::closedir(dir);
}

// The file a path names once every symbolic link is followed; a dangling link gives the
// name its target would have.
std::optional<fs::path> FollowLinks(fs::path path, int& err) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::error_code ec;
    const fs::path to = fs::read_symlink(path, ec);
    if (ec) {
      err = ec.value();
      return std::nullopt;
    }
    path = to.is_absolute() ? to : path.parent_path() / to;
  }
  err = ELOOP;
  return std::nullopt;
}

// Copies the extended attributes of from to fd; false when one could not be copied.
bool CopyAttributes(const fs::path& from, int fd) {
  const ssize_t size = ::listxattr(from.c_str(), nullptr, 0);
  if (size <= 0) return size == 0 || errno == ENOTSUP;
  std::vector<char> names(static_cast<std::size_t>(size));
  const ssize_t got = ::listxattr(from.c_str(), names.data(), names.size());
  if (got < 0) return false;
  for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
    const char* name = names.data() + at;
    at += std::strlen(name) + 1;
    const ssize_t value_size = ::getxattr(from.c_str(), name, nullptr, 0);
    if (value_size < 0) return false;
    std::vector<char> value(static_cast<std::size_t>(value_size));
    if (::getxattr(from.c_str(), name, value.data(), value.size()) != value_size) return false;
    if (::fsetxattr(fd, name, value.data(), value.size(), 0) != 0) return false;
  }
  return true;
}

// An unnamed file for content on its way to be written in place: nothing to clean up.
int OpenUnnamedTemp() {
  const char* tmpdir = std::getenv("TMPDIR");
  const std::string folder = tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp";
#ifdef O_TMPFILE
  const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0) return fd;
#endif
  std::string name = folder + "/.lq-XXXXXX";
  const int made = ::mkstemp(name.data());
  if (made >= 0) ::unlink(name.c_str());
  return made;
}

void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

std::optional<std::string> AtomicFile::Open() {
  Abandon();
  error_ = 0;
  size_ = 0;
  int err = 0;
  const std::optional<fs::path> target = FollowLinks(path_, err);
  if (!target) return Reason(err);
  target_ = *target;

  struct stat st {};
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) return Reason(errno);
  if (exists && S_ISDIR(st.st_mode)) return Reason(EISDIR);
  if (exists && !S_ISREG(st.st_mode)) {
    if (special_ == SpecialFiles::kRefuse || S_ISSOCK(st.st_mode)) {
      return std::string("not a regular file");
    }
    // A pipe nobody reads would block the window until somebody does.
    const bool no_wait = special_ == SpecialFiles::kNoWait && S_ISFIFO(st.st_mode);
    fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | (no_wait ? O_NONBLOCK : 0));
    if (fd_ < 0) {
      return errno == ENXIO ? std::string("no program reads this pipe") : Reason(errno);
    }
    if (no_wait) ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    way_ = Way::kDirect;
    return std::nullopt;
  }
  // Refused as cp refuses it; the superuser may write it all the same.
  if (exists && ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) {
    return Reason(errno);
  }

  const fs::path folder = target_.parent_path();
  RemoveStaleTemps(folder);
  bool in_place = exists && st.st_nlink > 1;  // a rename would part the names
  if (!in_place) {
    std::random_device seed;
    std::mt19937 random(seed());
    int open_err = EEXIST;
    for (int attempt = 0; attempt < 100 && fd_ < 0 && open_err == EEXIST; ++attempt) {
      const fs::path temp = folder / RandomTempName(random);
      fd_ = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ >= 0) {
        temp_ = temp;
        RegisterTemp(temp_);
      } else {
        open_err = errno;
      }
    }
    if (fd_ < 0) {
      // A folder that refuses new files may still hold a file the user can write.
      if (!(exists && (open_err == EACCES || open_err == EPERM))) {
        return open_err == EEXIST ? std::string("no free temporary name") : Reason(open_err);
      }
      in_place = true;
    } else if (exists) {
      // The new file must be what the old one was, or the old one is written in place.
      const bool same_owner = st.st_uid == ::geteuid() && st.st_gid == ::getegid();
      in_place = ::fchmod(fd_, st.st_mode & 07777) != 0 ||
                 (!same_owner && ::fchown(fd_, st.st_uid, st.st_gid) != 0) ||
                 !CopyAttributes(target_, fd_);
      // fchown may drop the set-id bits: put the mode back once more.
      if (!in_place && !same_owner) in_place = ::fchmod(fd_, st.st_mode & 07777) != 0;
      if (in_place) Abandon();
    }
  }
  if (in_place) {
    fd_ = OpenUnnamedTemp();
    if (fd_ < 0) return Reason(errno);
    way_ = Way::kInPlace;
    return std::nullopt;
  }
  way_ = Way::kRename;
  return std::nullopt;
}

namespace atomic_steps {

int CloseFile(int fd) { return ::close(fd) == 0 ? 0 : errno; }

int SyncFile(int fd) { return ::fsync(fd) == 0 ? 0 : errno; }

int WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno != 0 ? errno : EIO;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}

int OpenTarget(const fs::path& target, int& fd) {
  fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
  return fd >= 0 ? 0 : errno;
}

int ReserveRoom(int fd, std::size_t size) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return errno;
  const auto old_size = static_cast<std::size_t>(st.st_size);
  if (size <= old_size) return 0;
  const int err = ::posix_fallocate(fd, 0, static_cast<off_t>(size));
  if (err != EOPNOTSUPP && err != EINVAL) return err;
  // A file system that cannot reserve: at least the free space must suffice.
  struct statvfs vfs {};
  if (::fstatvfs(fd, &vfs) != 0) return errno;
  return static_cast<unsigned long long>(vfs.f_bavail) * vfs.f_frsize < size - old_size ? ENOSPC
                                                                                        : 0;
}

int CutTo(int fd, std::size_t size) {
  return ::ftruncate(fd, static_cast<off_t>(size)) == 0 ? 0 : errno;
}

int Rewind(int fd) { return ::lseek(fd, 0, SEEK_SET) == 0 ? 0 : errno; }

int ReadSome(int fd, char* data, std::size_t size, std::size_t& got) {
  got = 0;
  for (;;) {
    const ssize_t n = ::read(fd, data, size);
    if (n >= 0) {
      got = static_cast<std::size_t>(n);
      return 0;
    }
    if (errno != EINTR) return errno != 0 ? errno : EIO;
  }
}

void RemoveFile(const fs::path& path) { ::unlink(path.c_str()); }

std::optional<std::string> MoveIntoPlace(const fs::path& temp, const fs::path& target) {
  if (::rename(temp.c_str(), target.c_str()) != 0) return Reason(errno);
  SyncFolder(target.parent_path());
  return std::nullopt;
}

}  // namespace atomic_steps

void RemoveTemporaryFilesOnSignals() {
  struct sigaction action {};
  action.sa_handler = RemoveTempsAndDie;
  sigemptyset(&action.sa_mask);
  for (const int sig : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(sig, &action, nullptr);
}

}  // namespace lq
