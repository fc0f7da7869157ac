// AtomicFile on Windows: the C runtime's wide open for an exclusive temporary file, and
// ReplaceFileW to put it in place, which keeps the old file's attributes and security.
#include <windows.h>
// after windows.h
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>

#include "engine/atomic_file.h"
#include "engine/atomic_file_steps.h"
#include "engine/path_text.h"
#include "engine/temp_files.h"

namespace lq {
namespace fs = std::filesystem;
using atomic_steps::Reason;

namespace {

std::string WindowsReason(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring wide = n != 0 && text != nullptr ? std::wstring(text, n) : std::wstring();
  ::LocalFree(text);
  while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' ' ||
                           wide.back() == L'.')) {
    wide.pop_back();
  }
  if (wide.empty()) return "Windows error " + std::to_string(code);
  return ToText(fs::path(wide));
}

extern "C" void RemoveTempsAndDie(int sig) {
  for (std::size_t i = 0; i < kTempSlots; ++i) {
    if (const wchar_t* temp = RegisteredTemp(i)) ::_wunlink(temp);
  }
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

// Removes what a killed write of ours left: our pattern, untouched for a minute.
void RemoveStaleTemps(const fs::path& folder) {
  std::error_code ec;
  const auto now = fs::file_time_type::clock::now();
  fs::directory_iterator it(folder.empty() ? fs::path(L".") : folder, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code entry_ec;
    if (!IsTempName(ToText(it->path().filename())) || !it->is_regular_file(entry_ec)) continue;
    const auto written = it->last_write_time(entry_ec);
    if (!entry_ec && written + std::chrono::minutes(1) < now) fs::remove(it->path(), entry_ec);
  }
}

// A device (NUL, CON, a named pipe) rather than a file on a disk.
bool IsDevice(const fs::path& path) {
  const HANDLE handle =
      ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const DWORD type = ::GetFileType(handle);
  ::CloseHandle(handle);
  return type != FILE_TYPE_DISK;
}

// A file in the temporary folder that Windows deletes when it is closed.
int MakeUnnamedTemp(int& err) {
  std::array<wchar_t, MAX_PATH + 1> folder{};
  const DWORD got = ::GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
  const fs::path base = got != 0 && got < folder.size() ? fs::path(folder.data()) : fs::path(L".");
  std::random_device seed;
  std::mt19937 random(seed());
  err = EEXIST;
  for (int attempt = 0; attempt < 100 && err == EEXIST; ++attempt) {
    int fd = -1;
    err = ::_wsopen_s(&fd, (base / ToPath(RandomTempName(random))).c_str(),
                      _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT | _O_TEMPORARY,
                      _SH_DENYRW, _S_IREAD | _S_IWRITE);
    if (err == 0) return fd;
  }
  return -1;
}

}  // namespace

namespace atomic_steps {

Status FindTarget(const fs::path& path, int& folder, fs::path& target, Target& found) {
  folder = -1;
  target = path;
  for (int hops = 0;; ++hops) {
    std::error_code ec;
    if (hops == 40) return Because(Reason(ELOOP));
    if (!fs::is_symlink(fs::symlink_status(target, ec))) break;
    const fs::path to = fs::read_symlink(target, ec);
    if (ec) return Because(ec.message());
    target = to.is_absolute() ? to : target.parent_path() / to;
  }
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD err = ::GetLastError();
    // A device such as NUL has no attributes to read.
    if (IsDevice(target)) {
      found.kind = Target::Kind::kSpecial;
      return {};
    }
    if (err != ERROR_FILE_NOT_FOUND && err != ERROR_PATH_NOT_FOUND)
      return Because(WindowsReason(err));
    found.kind = Target::Kind::kNone;
    return {};
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    found.kind = Target::Kind::kFolder;
  } else if (IsDevice(target)) {
    found.kind = Target::Kind::kSpecial;
  } else {
    found.kind = Target::Kind::kRegular;
    // Refused as copy refuses it.
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) found.write_refused = EACCES;
  }
  return {};
}

int OpenSpecial(int /*folder*/, const fs::path& target, bool /*no_wait*/, int& fd) {
  return ::_wsopen_s(&fd, target.c_str(), _O_WRONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, 0);
}

void SweepStaleTemps(int /*folder*/, const fs::path& target) {
  RemoveStaleTemps(target.parent_path());
}

int CreateTempBeside(int /*folder*/, const fs::path& target, bool /*target_exists*/, int& fd,
                     fs::path& temp) {
  const fs::path folder = target.parent_path();
  std::random_device seed;
  std::mt19937 random(seed());
  int err = EEXIST;
  for (int attempt = 0; attempt < 100 && err == EEXIST; ++attempt) {
    temp = folder / ToPath(RandomTempName(random));
    err = ::_wsopen_s(&fd, temp.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                      _SH_DENYWR, _S_IREAD | _S_IWRITE);
  }
  if (err != 0) fd = -1;
  return err;
}

// ReplaceFileW keeps the old file's attributes and security when it puts the new one in place.
bool TakeOnTarget(int /*folder*/, const fs::path& /*target*/, int /*fd*/) { return true; }

int OpenUnnamedTemp(int& fd) {
  int err = 0;
  fd = MakeUnnamedTemp(err);
  return fd >= 0 ? 0 : err;
}

int CloseFile(int fd) { return ::_close(fd) == 0 ? 0 : errno; }

int SyncFile(int fd) { return ::_commit(fd) == 0 ? 0 : errno; }

int WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const unsigned part = static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30));
    const int n = ::_write(fd, data, part);
    if (n < 0) return errno != 0 ? errno : EIO;
    if (n == 0) return EIO;  // no progress: trying again would spin for ever
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}

void CloseFolder(int& folder) { folder = -1; }

int OpenTarget(int /*folder*/, const fs::path& target, int& fd) {
  return ::_wsopen_s(&fd, target.c_str(), _O_WRONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, 0);
}

int ReserveRoom(int fd, std::size_t size) {
  const long long old_size = ::_filelengthi64(fd);
  if (old_size < 0) return errno;
  if (size <= static_cast<std::size_t>(old_size)) return 0;
  return ::_chsize_s(fd, static_cast<long long>(size));
}

int CutTo(int fd, std::size_t size) { return ::_chsize_s(fd, static_cast<long long>(size)); }

int Rewind(int fd) { return ::_lseeki64(fd, 0, SEEK_SET) == 0 ? 0 : errno; }

int ReadSome(int fd, char* data, std::size_t size, std::size_t& got) {
  const int n = ::_read(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
  got = n > 0 ? static_cast<std::size_t>(n) : 0;
  return n >= 0 ? 0 : errno;
}

// Here a write goes in place only where the folder refuses new files: no copy fits beside.
Status KeepBackup(int /*folder*/, const fs::path& /*target*/, int /*fd*/, fs::path& backup) {
  backup.clear();
  return {};
}

void DropBackup(int /*folder*/, const fs::path& /*backup*/) {}

// An open file cannot be removed here: close it first.
void RemoveTemp(int /*folder*/, int& fd, const fs::path& temp) {
  if (fd >= 0) ::_close(fd);
  fd = -1;
  ::_wunlink(temp.c_str());
}

// An existing target keeps its attributes and security. ReplaceFileW needs the file closed.
Status MoveIntoPlace(int /*folder*/, int& fd, const fs::path& temp, const fs::path& target) {
  if (fd >= 0 && ::_close(fd) != 0) {
    fd = -1;
    return Because(Reason(errno));
  }
  fd = -1;
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kKept) != 0) {
    ::SetFileAttributesW(temp.c_str(), attributes & kKept);
  }
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      ::ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                     nullptr, nullptr)) {
    return {};
  }
  if (::MoveFileExW(temp.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return {};
  }
  return Because(WindowsReason(::GetLastError()));
}

}  // namespace atomic_steps

void RemoveTemporaryFilesOnSignals() {
  for (const int sig : {SIGINT, SIGTERM, SIGBREAK}) std::signal(sig, RemoveTempsAndDie);
}

}  // namespace lq
