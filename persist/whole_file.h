#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace lq {

// Profile files are small; a file beyond this is treated as unreadable rather than loaded,
// and is never rewritten.
inline constexpr std::size_t kProfileFileMax = 64u << 20;

// How reading a file went. Missing and unreadable files both read as empty; writers must
// not replace a file they could not read.
enum class ReadStatus { kOk, kMissing, kUnreadable };

struct FileBytes {
  ReadStatus status = ReadStatus::kMissing;
  std::string bytes;
  std::string reason;  // why it could not be read
};

// A regular file of at most max_bytes, whole.
FileBytes ReadBoundedFile(const std::filesystem::path& file, std::size_t max_bytes);

// Writes bytes to a new file in the same folder and renames it over file, so a crash
// leaves either the old or the new contents. A link is followed and its target replaced;
// the permissions of a file that already exists are kept. Returns why it failed.
std::optional<std::string> ReplaceFileAtomically(const std::filesystem::path& file,
                                                 const std::string& bytes);

}  // namespace lq
