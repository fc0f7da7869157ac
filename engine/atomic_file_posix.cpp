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
#include "engine/temp_files.h"

namespace lq {
namespace fs = std::filesystem;
namespace {

std::string Reason(int err) { return std::strerror(err != 0 ? err : EIO); }

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

bool WriteAll(int fd, const char* data, std::size_t size, int& err) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno != 0 ? errno : EIO;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

AtomicFile::AtomicFile(fs::path path, SpecialFiles special)
    : path_(std::move(path)), special_(special) {}

AtomicFile::~AtomicFile() { Abandon(); }

void AtomicFile::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) {
    ::unlink(temp_.c_str());
    UnregisterTemp(temp_);
    temp_.clear();
  }
  way_ = Way::kNone;
}

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

void AtomicFile::Write(const char* data, std::size_t size) {
  if (fd_ < 0 || error_ != 0 || size == 0) return;
  if (WriteAll(fd_, data, size, error_)) size_ += size;
}

std::optional<std::string> AtomicFile::CommitInPlace() {
  const int out = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
  if (out < 0) return Reason(errno);
  struct stat st {};
  int err = ::fstat(out, &st) == 0 ? 0 : errno;
  // Room for all of it first: a full disk must find the old content whole.
  if (err == 0 && size_ > static_cast<std::size_t>(st.st_size)) {
    err = ::posix_fallocate(out, 0, static_cast<off_t>(size_));
    if (err == EOPNOTSUPP || err == EINVAL) {
      struct statvfs vfs {};
      err = ::fstatvfs(out, &vfs) != 0 ? errno
            : static_cast<unsigned long long>(vfs.f_bavail) * vfs.f_frsize <
                    size_ - static_cast<std::size_t>(st.st_size)
                ? ENOSPC
                : 0;
    }
  }
  if (err == 0 && ::lseek(fd_, 0, SEEK_SET) != 0) err = errno;
  std::array<char, 1 << 16> buf{};
  for (std::size_t done = 0; err == 0 && done < size_;) {
    const ssize_t n = ::read(fd_, buf.data(), buf.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      err = n < 0 ? errno : EIO;
      break;
    }
    if (WriteAll(out, buf.data(), static_cast<std::size_t>(n), err)) {
      done += static_cast<std::size_t>(n);
    }
  }
  if (err == 0 && ::ftruncate(out, static_cast<off_t>(size_)) != 0) err = errno;
  if (err == 0 && ::fsync(out) != 0) err = errno;
  if (::close(out) != 0 && err == 0) err = errno;
  if (err != 0) return Reason(err);
  return std::nullopt;
}

std::optional<std::string> AtomicFile::Commit() {
  if (fd_ < 0) return Reason(error_ != 0 ? error_ : EBADF);
  int err = error_;
  std::optional<std::string> failure;
  switch (way_) {
    case Way::kDirect:
      if (::close(fd_) != 0 && err == 0) err = errno;
      fd_ = -1;
      break;
    case Way::kInPlace:
      if (err == 0) failure = CommitInPlace();
      break;
    case Way::kRename:
      if (err == 0 && ::fsync(fd_) != 0) err = errno;
      if (::close(fd_) != 0 && err == 0) err = errno;
      fd_ = -1;
      if (err == 0 && ::rename(temp_.c_str(), target_.c_str()) != 0) err = errno;
      if (err == 0) {
        UnregisterTemp(temp_);
        temp_.clear();
        SyncFolder(target_.parent_path());
      }
      break;
    case Way::kNone:
      err = EBADF;
      break;
  }
  Abandon();
  if (failure) return failure;
  if (err != 0) return Reason(err);
  return std::nullopt;
}

void RemoveTemporaryFilesOnSignals() {
  struct sigaction action {};
  action.sa_handler = RemoveTempsAndDie;
  sigemptyset(&action.sa_mask);
  for (const int sig : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(sig, &action, nullptr);
}

}  // namespace lq
