#pragma once

// The system calls AtomicFile takes, one set a platform (atomic_file_posix.cpp,
// atomic_file_win32.cpp), so that the order of its steps is written once.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace lq::atomic_steps {

// The text of an errno value; an unknown failure reads as an input/output error.
std::string Reason(int err);

// Each returns 0 or the errno value of the failure.
int CloseFile(int fd);
int SyncFile(int fd);
// Writes all of it, through interruptions and short writes.
int WriteAll(int fd, const char* data, std::size_t size);

// folder is the descriptor of the target's folder on POSIX systems, -1 on others: every step
// that names a file names it in that folder, so that no link swapped in meanwhile redirects it.
void CloseFolder(int& folder);

// For a write in place: opens the target to be overwritten, makes room in it for size bytes
// (so that a full disk finds the old content whole), and cuts it to size once written.
int OpenTarget(int folder, const std::filesystem::path& target, int& fd);
// Puts a whole, synced copy of the target's content beside it before it is overwritten;
// backup is its name, or empty when none was made. Why it could not, or nothing.
std::optional<std::string> KeepBackup(int folder, const std::filesystem::path& target, int fd,
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
// keeps any sweep away until then. Why it could not.
std::optional<std::string> MoveIntoPlace(int folder, int& fd, const std::filesystem::path& temp,
                                         const std::filesystem::path& target);

}  // namespace lq::atomic_steps
