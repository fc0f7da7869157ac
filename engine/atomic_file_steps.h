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

// For a write in place: opens the target to be overwritten, makes room in it for size bytes
// (so that a full disk finds the old content whole), and cuts it to size once written.
int OpenTarget(const std::filesystem::path& target, int& fd);
int ReserveRoom(int fd, std::size_t size);
int CutTo(int fd, std::size_t size);
// Back to the start of a file to read it again.
int Rewind(int fd);
// Reads up to size bytes; got is 0 at the end of the file.
int ReadSome(int fd, char* data, std::size_t size, std::size_t& got);

void RemoveFile(const std::filesystem::path& path);
// Puts the finished temporary file in place of the target, durably; why it could not.
std::optional<std::string> MoveIntoPlace(const std::filesystem::path& temp,
                                         const std::filesystem::path& target);

}  // namespace lq::atomic_steps
