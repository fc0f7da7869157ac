#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/hand_over_folder.h"

namespace lq {
namespace {

constexpr const char* kSocketName = "ZQ_LOOMQUILL";

// An absolute folder from the environment, with a trailing separator; empty when unset.
std::string FolderFromEnv(const char* variable) {
  const char* value = std::getenv(variable);
  if (value == nullptr || value[0] != '/') return {};
  std::string folder = value;
  if (folder.back() != '/') folder.push_back('/');
  return folder;
}

}  // namespace

std::vector<std::string> HandOverFolders() {
  std::vector<std::string> folders;
  const std::string runtime = FolderFromEnv("XDG_RUNTIME_DIR");
  folders.push_back(runtime.empty() ? "/tmp/loomquill-" + std::to_string(getuid()) + "/"
                                    : runtime + "loomquill/");
  std::string cache = FolderFromEnv("XDG_CACHE_HOME");
  if (cache.empty()) {
    const std::string home = FolderFromEnv("HOME");
    if (!home.empty()) cache = home + ".cache/";
  }
  // Under the user's own home nobody else can take the name first.
  if (!cache.empty()) folders.push_back(cache + "loomquill/hand-over/");
  return folders;
}

std::string HandOverFolder() { return HandOverFolders().front(); }

std::string HandOverSocketIn(const std::string& folder) { return folder + kSocketName; }

std::string HandOverSocketPath() { return HandOverSocketIn(HandOverFolder()); }

Result<FolderCheck> CheckPrivateFolder(const std::string& folder) {
  auto unsafe = [&](std::string reason) { return Failure{folder, {}, std::move(reason)}; };
  std::string path = folder;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return FolderCheck::kMissing;
    return unsafe(std::strerror(errno));
  }
  if (S_ISLNK(st.st_mode)) return unsafe("a symbolic link, not a folder");
  if (!S_ISDIR(st.st_mode)) return unsafe("not a folder");
  if (st.st_uid != getuid()) {
    return unsafe("belongs to another user (uid " + std::to_string(st.st_uid) + ")");
  }
  if ((st.st_mode & 077) != 0) return unsafe("open to other users");
  return FolderCheck::kPrivate;
}

Status EnsurePrivateFolder(const std::string& folder) {
  std::string path = folder;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
    return Failure{folder, {}, std::strerror(errno)};
  }
  // A folder that was already there may be anyone's.
  Result<FolderCheck> made = CheckPrivateFolder(folder);
  if (!made.ok()) return std::move(made).failure();
  if (made.value() == FolderCheck::kMissing) return Failure{folder, {}, std::strerror(ENOENT)};
  return {};
}

}  // namespace lq
