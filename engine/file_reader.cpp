#include "engine/file_reader.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace lq {
namespace fs = std::filesystem;

namespace {

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

}  // namespace lq
