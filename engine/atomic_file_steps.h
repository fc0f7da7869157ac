#pragma once

// The system calls AtomicFile takes, one set a platform (atomic_file_posix.cpp,
// atomic_file_win32.cpp), so that the order of its steps is written once.

#include <cstddef>
#include <filesystem>
#include <string>

#include "engine/result.h"

namespace lq::atomic_steps {

// The text of an errno value; an unknown failure reads as an input/output error.
std::string Reason(int err);

// A step's failure carries only its reason: AtomicFile's caller names the file.
inline Status Because(std::string reason) { return Failure{{}, {}, std::move(reason)}; }

// Each returns 0 or the errno value of the failure.
int CloseFile(int fd);
int SyncFile(int fd);
// Writes all of it, through interruptions and short writes.
int WriteAll(int fd, const char* data, std::size_t size);

// folder is the descriptor of the target's folder on POSIX systems, -1 on others: every step
// that names a file names it in that folder, so that no link swapped in meanwhile redirects it.
void CloseFolder(int& folder);

// What a write finds where it is asked to write, once links are followed.
struct Target {
  enum class Kind { kNone, kRegular, kFolder, kSpecial };
  Kind kind = Kind::kNone;  // kNone: nothing there yet
  bool openable = true;     // a special file that may be written as it is (no socket)
  bool pipe = false;
  int write_refused = 0;  // errno value when the user may not write an existing target
  unsigned links = 1;     // names of an existing regular file
  bool exists() const { return kind != Kind::kNone; }
};

// Follows the links of path (as the kernel would, refusing what it would refuse) to the file a
// write goes to: target is its name, folder its folder's descriptor (POSIX).
Status FindTarget(const std::filesystem::path& path, int& folder, std::filesystem::path& target,
                  Target& found);
// Opens a special file (a pipe, a device) to write straight into it; with no_wait a pipe
// nobody reads fails with ENXIO instead of waiting.
int OpenSpecial(int folder, const std::filesystem::path& target, bool no_wait, int& fd);
// Removes what killed writes of ours left in the target's folder; never a live write's file.
void SweepStaleTemps(int folder, const std::filesystem::path& target);
// A new, exclusive temporary file beside the target, for nobody but the user; temp is its name.
int CreateTempBeside(int folder, const std::filesystem::path& target, bool target_exists, int& fd,
                     std::filesystem::path& temp);
// Gives the temporary file the existing target's owner, group, attributes and mode; false when
// it cannot be made what the target was (then the target is written in place).
bool TakeOnTarget(int folder, const std::filesystem::path& target, int fd);
// An unnamed file for content on its way to be written in place: nothing to clean up.
int OpenUnnamedTemp(int& fd);

// For a write in place: opens the target to be overwritten, makes room in it for size bytes
// (so that a full disk finds the old content whole), and cuts it to size once written.
int OpenTarget(int folder, const std::filesystem::path& target, int& fd);
// Puts a whole, synced copy of the target's content beside it before it is overwritten;
// backup is its name, or empty when none was made.
Status KeepBackup(int folder, const std::filesystem::path& target, int fd,
                  std::filesystem::path& backup);
// Removes the copy once the new content is complete and synced.
void DropBackup(int folder, const std::filesystem::path& backup);
int ReserveRoom(int fd, std::size_t size);
int CutTo(int fd, std::size_t size);
// Back to the start of a file to read it again.
int Rewind(int fd);
// Reads up to size bytes; got is 0 at the end of the file.
int ReadSome(int fd, char* data, std::size_t size, std::size_t& got);

// Closes the temporary file (fd becomes -1) and removes it, in the order the platform needs.
void RemoveTemp(int folder, int& fd, const std::filesystem::path& temp);
// Puts the finished temporary file in place of the target, durably, and closes it (fd
// becomes -1) when the platform lets it: on POSIX only after the rename, so that its lock
// keeps any sweep away until then.
Status MoveIntoPlace(int folder, int& fd, const std::filesystem::path& temp,
                     const std::filesystem::path& target);

}  // namespace lq::atomic_steps
