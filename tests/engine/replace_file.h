#pragma once

#include <filesystem>
#include <iterator>
#include <string>

#include "engine/atomic_file.h"
#include "engine/result.h"

namespace lq::test {

// One whole write through AtomicFile.
inline Status Replace(const std::filesystem::path& file, const std::string& text,
                      SpecialFiles special = SpecialFiles::kRefuse) {
  AtomicFile out(file, special);
  if (Status opened = out.Open(); !opened.ok()) return opened;
  out.Write(text.data(), text.size());
  return out.Commit();
}

inline std::size_t FilesIn(const std::filesystem::path& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                std::filesystem::directory_iterator()));
}

}  // namespace lq::test
