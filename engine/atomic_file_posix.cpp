// AtomicFile on POSIX systems: open(2) and friends, since the standard library can neither
// create a file exclusively with a mode, nor sync it, nor keep its owner and attributes.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string_view>
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

// Removes what a killed write of ours left: our pattern, our user, and nobody's lock on it.
// A live write holds its lock from before its first byte until its file is renamed or gone.
void RemoveStaleTemps(int folder) {
  const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listing < 0) return;
  DIR* dir = ::fdopendir(listing);
  if (dir == nullptr) {
    ::close(listing);
    return;
  }
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsTempName(entry->d_name)) continue;
    struct stat st {};
    if (::fstatat(folder, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
    const int fd = ::openat(folder, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat held {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
        ::fstatat(folder, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        held.st_ino == st.st_ino && held.st_dev == st.st_dev) {
      ::unlinkat(folder, entry->d_name, 0);
    }
    ::close(fd);
  }
  ::closedir(dir);
}

// The kernel's protected_symlinks rule: in a sticky folder others may write, only a link of
// the folder's owner or of the user is followed, so no neighbour can point a write elsewhere.
bool MayFollow(int folder, const struct stat& link) {
  struct stat dir {};
  if (::fstat(folder, &dir) != 0) return false;
  const bool shared = (dir.st_mode & S_ISVTX) != 0 && (dir.st_mode & S_IWOTH) != 0;
  return !shared || link.st_uid == dir.st_uid || link.st_uid == ::geteuid();
}

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// Opens the folder of the file path names once every link is followed, and gives that
// file's name in it; a dangling link gives the name its target would have. -1 and why not.
int OpenFolderOf(const fs::path& path, fs::path& shown, fs::path& name, std::string& why) {
  shown = path;
  name = path.filename();
  const fs::path parent = path.parent_path();
  int folder = ::open(parent.empty() ? "." : parent.c_str(), kFolderFlags);
  for (int hops = 0; folder >= 0; ++hops) {
    if (name.empty() || name == "." || name == "..") {
      why = Reason(EISDIR);
      break;
    }
    struct stat st {};
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno == ENOENT) return folder;
      why = Reason(errno);
      break;
    }
    if (!S_ISLNK(st.st_mode)) return folder;
    if (hops == 40) {
      why = Reason(ELOOP);
      break;
    }
    if (!MayFollow(folder, st)) {
      why = "a link of another user in a shared folder: not followed";
      break;
    }
    std::vector<char> to(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 2);
    const ssize_t got = ::readlinkat(folder, name.c_str(), to.data(), to.size());
    if (got < 0 || static_cast<std::size_t>(got) >= to.size()) {
      why = Reason(got < 0 ? errno : ENAMETOOLONG);
      break;
    }
    const fs::path link(std::string(to.data(), static_cast<std::size_t>(got)));
    const fs::path up = link.parent_path();
    const int next = link.is_absolute()
                         ? ::open(up.c_str(), kFolderFlags)
                         : ::openat(folder, up.empty() ? "." : up.c_str(), kFolderFlags);
    const int open_err = errno;
    ::close(folder);
    folder = next;
    if (folder < 0) errno = open_err;
    shown = link.is_absolute() ? link : shown.parent_path() / link;
    name = link.filename();
  }
  if (folder >= 0) {
    ::close(folder);
    return -1;
  }
  if (why.empty()) why = Reason(errno);
  return -1;
}

// The name of the copy an in-place write keeps beside the target: ".NAME.lq-backup", the
// name cut (never inside a UTF-8 character) where it would not fit the folder's limit.
std::string BackupName(const fs::path& target) {
  constexpr std::string_view kSuffix = ".lq-backup";
  std::string name = target.filename().string();
  const std::size_t room = 255 - 1 - kSuffix.size();
  if (name.size() > room) {
    std::size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name.resize(cut);
  }
  return "." + name + std::string(kSuffix);
}

void SyncFolder(int folder) { ::fsync(folder); }

// A new file of ours in folder, for nobody but the user (mode at most 0600, or mode for a
// file with no target, whose mode is the umask's anyway), locked before it is given back.
int CreateTemp(int folder, mode_t mode, fs::path& name, int& err) {
  std::random_device seed;
  std::mt19937 random(seed());
  err = EEXIST;
  for (int attempt = 0; attempt < 100 && (err == EEXIST || err == ESTALE); ++attempt) {
    name = RandomTempName(random);
    const int fd =
        ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) {
      err = errno;
      continue;
    }
    // A sweep may have taken the name between the open and the lock: then take another.
    struct stat st {};
    if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &st) == 0 && st.st_nlink > 0) {
      err = 0;
      return fd;
    }
    err = ESTALE;
    ::close(fd);
  }
  return -1;
}

// Copies the extended attributes of name in folder to fd; false when one could not be copied.
bool CopyAttributes(int folder, const fs::path& name, int fd) {
  // The folder's own link in /proc names this very folder, whatever its path is now.
  const std::string from = "/proc/self/fd/" + std::to_string(folder) + "/" + name.string();
  const ssize_t size = ::llistxattr(from.c_str(), nullptr, 0);
  if (size <= 0) return size == 0 || errno == ENOTSUP;
  std::vector<char> names(static_cast<std::size_t>(size));
  const ssize_t got = ::llistxattr(from.c_str(), names.data(), names.size());
  if (got < 0) return false;
  for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
    const char* key = names.data() + at;
    at += std::strlen(key) + 1;
    const ssize_t value_size = ::lgetxattr(from.c_str(), key, nullptr, 0);
    if (value_size < 0) return false;
    std::vector<char> value(static_cast<std::size_t>(value_size));
    if (::lgetxattr(from.c_str(), key, value.data(), value.size()) != value_size) return false;
    if (::fsetxattr(fd, key, value.data(), value.size(), 0) != 0) return false;
  }
  return true;
}

}  // namespace

namespace atomic_steps {

Status FindTarget(const fs::path& path, int& folder, fs::path& target, Target& found) {
  fs::path name;
  std::string why;
  folder = OpenFolderOf(path, target, name, why);
  if (folder < 0) return Because(why);
  struct stat st {};
  if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno != ENOENT) return Because(Reason(errno));
    found.kind = Target::Kind::kNone;
    return {};
  }
  if (S_ISDIR(st.st_mode)) {
    found.kind = Target::Kind::kFolder;
  } else if (!S_ISREG(st.st_mode)) {
    found.kind = Target::Kind::kSpecial;
    found.openable = !S_ISSOCK(st.st_mode) && !S_ISLNK(st.st_mode);
    found.pipe = S_ISFIFO(st.st_mode);
  } else {
    found.kind = Target::Kind::kRegular;
    found.links = static_cast<unsigned>(st.st_nlink);
    if (::faccessat(folder, name.c_str(), W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) != 0) {
      found.write_refused = errno;
    }
  }
  return {};
}

int OpenSpecial(int folder, const fs::path& target, bool no_wait, int& fd) {
  fd = ::openat(folder, target.filename().c_str(),
                O_WRONLY | O_NOFOLLOW | O_CLOEXEC | (no_wait ? O_NONBLOCK : 0));
  if (fd < 0) return errno;
  if (no_wait) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return 0;
}

void SweepStaleTemps(int folder, const fs::path& /*target*/) { RemoveStaleTemps(folder); }

int CreateTempBeside(int folder, const fs::path& target, bool target_exists, int& fd,
                     fs::path& temp) {
  // Never wider than the target at any moment: an existing target's copy starts as the
  // user's alone and gets its group and mode before its first byte.
  fs::path name;
  int err = 0;
  fd = CreateTemp(folder, target_exists ? 0600 : 0666, name, err);
  if (fd >= 0) temp = target.parent_path() / name;
  return fd >= 0 ? 0 : err;
}

bool TakeOnTarget(int folder, const fs::path& target, int fd) {
  const fs::path name = target.filename();
  struct stat st {};
  struct stat made {};
  if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || ::fstat(fd, &made) != 0) {
    return false;
  }
  const bool same_owner = made.st_uid == st.st_uid && made.st_gid == st.st_gid;
  // Owner and group first, while the mode still shuts everybody else out; then the mode,
  // which fchown would have stripped of its set-id bits.
  return (same_owner || ::fchown(fd, st.st_uid, st.st_gid) == 0) &&
         CopyAttributes(folder, name, fd) && ::fchmod(fd, st.st_mode & 07777) == 0;
}

int OpenUnnamedTemp(int& fd) {
  const char* tmpdir = std::getenv("TMPDIR");
  const std::string folder = tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp";
#ifdef O_TMPFILE
  fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0) return 0;
#endif
  std::string name = folder + "/.lq-XXXXXX";
  fd = ::mkstemp(name.data());
  if (fd < 0) return errno;
  ::unlink(name.c_str());
  return 0;
}

int CloseFile(int fd) { return ::close(fd) == 0 ? 0 : errno; }

int SyncFile(int fd) { return ::fsync(fd) == 0 ? 0 : errno; }

int WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno != 0 ? errno : EIO;
    }
    if (n == 0) return EIO;  // no progress: trying again would spin for ever
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}

void CloseFolder(int& folder) {
  if (folder >= 0) ::close(folder);
  folder = -1;
}

int OpenTarget(int folder, const fs::path& target, int& fd) {
  const std::string file = target.filename().string();
  const char* name = file.c_str();
  fd = ::openat(folder, name, O_RDWR | O_NOFOLLOW | O_CLOEXEC);
  // A file the user may write but not read: written in place all the same, with no copy.
  if (fd < 0 && errno == EACCES) fd = ::openat(folder, name, O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
  return fd >= 0 ? 0 : errno;
}

Status KeepBackup(int folder, const fs::path& target, int fd, fs::path& backup) {
  backup.clear();
  struct stat st {};
  if (::fstat(fd, &st) != 0) return Because(Reason(errno));
  // Even an empty file gets its copy: a cut new content would be neither the old nor the new.
  // One the user may not read gets none.
  if ((::fcntl(fd, F_GETFL) & O_ACCMODE) != O_RDWR) return {};
  const std::string name = BackupName(target);
  struct stat old {};
  if (::fstatat(folder, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0) {
    return Because("an interrupted write left the earlier content in " + name +
                   " beside it: move that away first");
  }
  // The copy is made under a temporary name and gets its own only once whole and synced.
  fs::path temp;
  int err = 0;
  const int copy = CreateTemp(folder, st.st_mode & 0600, temp, err);
  if (copy < 0) {
    // A folder that refuses new files leaves no room for a copy: written in place as before.
    if (err == EACCES || err == EPERM) return {};
    return Because(Reason(err));
  }
  const fs::path shown = target.parent_path() / temp;
  RegisterTemp(shown);
  std::array<char, 1 << 16> buf{};
  off_t at = 0;
  while (err == 0) {
    const ssize_t got = ::pread(fd, buf.data(), buf.size(), at);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      if (got < 0) err = errno;
      break;
    }
    err = WriteAll(copy, buf.data(), static_cast<std::size_t>(got));
    at += got;
  }
  if (err == 0) err = SyncFile(copy);
  if (err == 0 && ::renameat2(folder, temp.c_str(), folder, name.c_str(), RENAME_NOREPLACE) != 0) {
    err = errno;
    // A file system without RENAME_NOREPLACE: a hard link never replaces either.
    if ((err == EINVAL || err == ENOSYS) &&
        ::linkat(folder, temp.c_str(), folder, name.c_str(), 0) == 0) {
      err = 0;
      ::unlinkat(folder, temp.c_str(), 0);
    }
  }
  if (err != 0) ::unlinkat(folder, temp.c_str(), 0);
  UnregisterTemp(shown);
  ::close(copy);
  if (err != 0) return Because(Reason(err));
  SyncFolder(folder);
  backup = target.parent_path() / name;
  return {};
}

void DropBackup(int folder, const fs::path& backup) {
  if (backup.empty()) return;
  ::unlinkat(folder, backup.filename().c_str(), 0);
  SyncFolder(folder);
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

// Removed while still locked, so no sweep can mistake it for litter and no name is reused.
void RemoveTemp(int folder, int& fd, const fs::path& temp) {
  ::unlinkat(folder, temp.filename().c_str(), 0);
  if (fd >= 0) ::close(fd);
  fd = -1;
}

Status MoveIntoPlace(int folder, int& /*fd*/, const fs::path& temp, const fs::path& target) {
  if (::renameat(folder, temp.filename().c_str(), folder, target.filename().c_str()) != 0) {
    return Because(Reason(errno));
  }
  SyncFolder(folder);
  return {};
}

}  // namespace atomic_steps

void RemoveTemporaryFilesOnSignals() {
  struct sigaction action {};
  action.sa_handler = RemoveTempsAndDie;
  sigemptyset(&action.sa_mask);
  for (const int sig : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(sig, &action, nullptr);
}

}  // namespace lq
