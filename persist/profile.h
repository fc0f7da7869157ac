#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/atomic_file.h"
#include "engine/failure.h"
#include "engine/file_reader.h"
#include "engine/path_text.h"
#include "engine/result.h"
#include "persist/profile_document.h"
#include "persist/profile_encoding.h"

namespace lq {

// Profile files are small; a file beyond this is treated as unreadable rather than loaded,
// and is never rewritten.
inline constexpr std::size_t kProfileFileMax = 64u << 20;

inline constexpr const char* kCannotWriteCaption = "Cannot write file";
inline constexpr const char* kCannotReadCaption = "Cannot read file";

// The profile functions: one key of one INI file per call. A missing or unreadable file
// reads as empty. Callers that touch many keys load a ProfileDocument once instead.
std::string ReadProfileText(const std::filesystem::path& file, std::string_view section,
                            std::string_view key, std::string_view fallback, std::size_t capacity);
std::int32_t ReadProfileInt(const std::filesystem::path& file, std::string_view section,
                            std::string_view key, std::int32_t fallback);
// Creates the file when missing (not its folder). A file that exists but cannot be read is
// left alone, since rewriting it would lose what it holds.
Status WriteProfileText(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value);

struct LoadedProfile {
  ProfileDocument document;
  ReadStatus status = ReadStatus::kMissing;
  std::string reason;  // why it could not be read
  TextEncoding encoding = TextEncoding::kUtf8;
};

LoadedProfile LoadProfile(const std::filesystem::path& file);
// Writes the document in the encoding the file had, never a mix of two.
Status SaveProfile(const std::filesystem::path& file, const ProfileDocument& document,
                   TextEncoding encoding = TextEncoding::kUtf8);

// Loads the file, lets edit(document) change it and saves it atomically when its text
// changed. edit returns what it could not store, empty when it stored everything; what it
// did store is saved all the same. Nothing is written when the file exists but cannot be
// read.
template <typename Edit>
Status UpdateProfile(const std::filesystem::path& file, Edit&& edit) {
  LoadedProfile loaded = LoadProfile(file);
  if (loaded.status == ReadStatus::kUnreadable) {
    return Failure{ToText(file), kCannotReadCaption, loaded.reason};
  }
  const std::string before = loaded.document.Text();
  const std::string refused = edit(loaded.document);
  if (loaded.document.Text() != before) {
    if (Status saved = SaveProfile(file, loaded.document, loaded.encoding); !saved.ok()) {
      return saved;
    }
  }
  if (!refused.empty()) return Failure{ToText(file), kCannotWriteCaption, refused};
  return {};
}

}  // namespace lq
