#include "persist/whole_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace lq {
namespace fs = std::filesystem;

namespace {

std::FILE* OpenNew(const fs::path& path) {
#ifdef _WIN32
  return _wfopen(path.c_str(), L"wbx");
#else
  return std::fopen(path.c_str(), "wbx");
#endif
}

// Pushes the bytes to the disk before the rename makes them the file.
bool Sync(std::FILE* f) {
#if defined(__unix__) || defined(__APPLE__)
  return ::fsync(fileno(f)) == 0;
#else
  (void)f;
  return true;
#endif
}

std::string Describe(int err) { return std::strerror(err != 0 ? err : EIO); }

}  // namespace

FileBytes ReadBoundedFile(const fs::path& file, std::size_t max_bytes) {
  FileBytes result;
  std::error_code ec;
  const fs::file_status st = fs::status(file, ec);
  if (st.type() == fs::file_type::not_found) return result;
  result.status = ReadStatus::kUnreadable;
  if (ec) {
    result.reason = ec.message();
    return result;
  }
  // A folder or a pipe in place of a profile could hang or mislead the reader.
  if (!fs::is_regular_file(st)) {
    result.reason = "not a regular file";
    return result;
  }
  const std::uintmax_t size = fs::file_size(file, ec);
  if (ec) {
    result.reason = ec.message();
    return result;
  }
  if (size > max_bytes) {
    result.reason = "file too large";
    return result;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    result.reason = Describe(errno);
    return result;
  }
  std::string bytes(static_cast<std::size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  // The file may have grown since its size was taken; read what follows, within the limit.
  char chunk[4096];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > max_bytes) {
      result.reason = "file too large";
      return result;
    }
  }
  if (in.bad()) {
    result.reason = std::strerror(EIO);
    return result;
  }
  result.status = ReadStatus::kOk;
  result.bytes = std::move(bytes);
  return result;
}

std::optional<std::string> ReplaceFileAtomically(const fs::path& file, const std::string& bytes) {
  std::error_code ec;
  fs::path target = file;
  if (fs::is_symlink(fs::symlink_status(file, ec))) {
    // Renaming over the link would replace the link itself with a plain file.
    target = fs::weakly_canonical(file, ec);
    if (ec) return "cannot follow link: " + ec.message();
  }
  const fs::file_status st = fs::status(target, ec);
  const bool exists = fs::exists(st);
  if (exists && !fs::is_regular_file(st)) return std::string("not a regular file");

  const fs::path folder = target.parent_path();
  const std::string stem = "." + target.filename().string() + ".tmp";
  std::random_device seed;
  std::mt19937 random(seed());
  fs::path temp;
  std::FILE* f = nullptr;
  for (int attempt = 0; attempt < 100 && f == nullptr; ++attempt) {
    temp = folder / (stem + std::to_string(random() % 1000000));
    errno = 0;
    f = OpenNew(temp);
    if (f == nullptr && errno != EEXIST) {
      return Describe(errno);
    }
  }
  if (f == nullptr) return std::string("no free temporary name");

  bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  written = std::fflush(f) == 0 && written;
  const int write_err = written ? 0 : errno;
  written = Sync(f) && written;
  written = std::fclose(f) == 0 && written;
  if (!written) {
    fs::remove(temp, ec);
    return Describe(write_err);
  }
  if (exists) fs::permissions(temp, st.permissions(), fs::perm_options::replace, ec);
  fs::rename(temp, target, ec);
  if (ec) {
    const std::string why = ec.message();
    fs::remove(temp, ec);
    return why;
  }
  return std::nullopt;
}

}  // namespace lq
