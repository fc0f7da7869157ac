#include "persist/profile.h"

#include "persist/key_writer.h"

namespace lq {

LoadedProfile LoadProfile(const std::filesystem::path& file) {
  FileBytes read = ReadBoundedFile(file, kProfileFileMax);
  LoadedProfile loaded;
  loaded.status = read.status;
  loaded.reason = std::move(read.reason);
  if (read.status != ReadStatus::kOk) return loaded;
  loaded.encoding = DetectEncoding(read.bytes);
  // UTF-8 bytes are the text itself: taken over, not copied, so a large file is held once.
  if (loaded.encoding == TextEncoding::kUtf8) {
    loaded.document = ProfileDocument::Adopt(std::move(read.bytes));
    return loaded;
  }
  std::optional<std::string> text = DecodeProfileBytes(read.bytes, loaded.encoding);
  if (!text) {
    // Unreadable files are never written, so a damaged one is not made worse.
    loaded.status = ReadStatus::kUnreadable;
    loaded.reason = "not valid UTF-16";
    return loaded;
  }
  loaded.document = ProfileDocument::Adopt(std::move(*text));
  return loaded;
}

Status SaveProfile(const std::filesystem::path& file, const ProfileDocument& document,
                   TextEncoding encoding) {
  const std::optional<std::string> bytes = EncodeProfileText(document.Text(), encoding);
  if (!bytes) {
    return Failure{ToText(file), kCannotWriteCaption,
                   "the file is UTF-16, and what is to be written is not valid UTF-8"};
  }
  if (Status replaced = ReplaceFileAtomically(file, *bytes); !replaced.ok()) {
    return Failure{file.string(), kCannotWriteCaption, std::move(replaced).failure().reason};
  }
  return {};
}

std::string ReadProfileText(const std::filesystem::path& file, std::string_view section,
                            std::string_view key, std::string_view fallback, std::size_t capacity) {
  return LoadProfile(file).document.ReadText(section, key, fallback, capacity);
}

std::int32_t ReadProfileInt(const std::filesystem::path& file, std::string_view section,
                            std::string_view key, std::int32_t fallback) {
  return LoadProfile(file).document.ReadInt(section, key, fallback);
}

Status WriteProfileText(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value) {
  return UpdateProfile(file, [&](ProfileDocument& document) {
    KeyWriter writer(document, section);
    writer.Text(key, value);
    return writer.Refused();
  });
}

}  // namespace lq
