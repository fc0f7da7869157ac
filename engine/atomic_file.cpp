#include "engine/atomic_file.h"

namespace lq {

std::optional<std::string> ReplaceFileAtomically(const std::filesystem::path& file,
                                                 const std::string& bytes) {
  AtomicFile out(file, SpecialFiles::kRefuse);
  if (std::optional<std::string> why = out.Open()) return why;
  out.Write(bytes.data(), bytes.size());
  return out.Commit();
}

}  // namespace lq
