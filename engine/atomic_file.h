#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "engine/result.h"

namespace lq {

// What a writer does with a target that is not a regular file.
enum class SpecialFiles {
  kRefuse,  // only regular files are written (settings, templates, lists)
  kWrite,   // devices and pipes are written directly, as a shell's > would
  kNoWait,  // devices directly; a pipe only when a reader holds its other end already
};

// Replaces the whole content of one file so that a failure at any point leaves the earlier
// content as it was, and keeps what the file is: its owner, group, mode, links and
// attributes.
//
// The new content goes to a temporary file beside the target, named ".lq-XXXXXXXX.tmp"
// however long the target's name is, and is renamed over it once complete. When a rename
// would change what the file is (another owner, a second hard link, attributes that cannot
// be copied) or the folder refuses new files, the content is first written in full to an
// unnamed temporary file, then space for it is reserved in the target and only then is the
// target overwritten in place, a synced copy of the old content kept beside it until then.
// A symbolic link is written through, and a dangling one gets its target created, unless
// another user planted it in a shared sticky folder. A file the user may not write is
// refused, as cp refuses it.
class AtomicFile {
 public:
  AtomicFile(std::filesystem::path path, SpecialFiles special);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Whether the file can be written. A failure here and in Commit carries only its reason
  // (the system's word): the caller names the file and what was being done.
  Status Open();
  // Keeps the first error for Commit; writes nothing more after it.
  void Write(const char* data, std::size_t size);
  // Puts the content in place.
  Status Commit();
  // Drops what was written; the target stays as it was.
  void Abandon();

 private:
  enum class Way { kNone, kRename, kInPlace, kDirect };

  Status CommitInPlace();

  std::filesystem::path path_;
  SpecialFiles special_;
  std::filesystem::path target_;  // path_ with its links followed
  std::filesystem::path temp_;    // the temporary file beside the target, for kRename
  int folder_ = -1;               // the target's folder, where the platform has descriptors
  int fd_ = -1;
  Way way_ = Way::kNone;
  int error_ = 0;
  std::size_t size_ = 0;
};

// AtomicFile for a content held whole; a failure carries only its reason, as there.
Status ReplaceFileAtomically(const std::filesystem::path& file, const std::string& bytes);

// Removes the temporary files of writes still going when SIGINT, SIGTERM or SIGHUP comes,
// then ends by the same signal. For programs that write long outputs (loomquill-cli).
void RemoveTemporaryFilesOnSignals();

}  // namespace lq
