#pragma once

#include <filesystem>
#include <iterator>
#include <optional>
#include <string>

#include "engine/atomic_file.h"

namespace lq::test {

// One whole write through AtomicFile; why it failed, or nothing.
inline std::optional<std::string> Replace(const std::filesystem::path& file,
                                          const std::string& text,
                                          SpecialFiles special = SpecialFiles::kRefuse) {
  AtomicFile out(file, special);
  if (auto why = out.Open()) return why;
  out.Write(text.data(), text.size());
  return out.Commit();
}

inline std::size_t FilesIn(const std::filesystem::path& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                std::filesystem::directory_iterator()));
}

}  // namespace lq::test
