#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace lq {

// How reading a file went. Missing and unreadable files both read as empty; writers must
// not replace a file they could not read.
enum class ReadStatus { kOk, kMissing, kUnreadable };

struct FileBytes {
  ReadStatus status = ReadStatus::kMissing;
  std::string bytes;
  std::string reason;  // why it could not be read
};

// A regular file of at most max_bytes, whole: the one way Loomquill reads a file at once.
// Anything but a regular file (a folder, a pipe that could block) is unreadable.
FileBytes ReadBoundedFile(const std::filesystem::path& file, std::size_t max_bytes);

}  // namespace lq
