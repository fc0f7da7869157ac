#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/atomic_file.h"
#include "engine/failure.h"
#include "engine/path_style.h"
#include "engine/result.h"

namespace lq {

// Writes a text file through AtomicFile: a failed run leaves the earlier content whole. "-"
// is standard output. Composed text is written byte for byte: its line breaks are already
// the chosen ones, and a name's own CR or LF must stay what it is.
class TextFileWriter {
 public:
  // failure_caption is the caption of the notice when the file cannot be written; special
  // says what becomes of a target that is not a regular file.
  TextFileWriter(std::string path, std::string failure_caption,
                 SpecialFiles special = SpecialFiles::kWrite);
  // For a text of the caller's own whose every LF is a line break (a list file's
  // separators): each LF is written as eol.
  TextFileWriter(std::string path, Eol eol, std::string failure_caption,
                 SpecialFiles special = SpecialFiles::kWrite);
  ~TextFileWriter();
  TextFileWriter(const TextFileWriter&) = delete;
  TextFileWriter& operator=(const TextFileWriter&) = delete;

  Status Open();
  void Write(std::string_view text);
  // Where at least size bytes can be written as they are, when no line-break conversion is
  // due; null otherwise. Hand the end of what was written to Filled.
  char* Room(std::size_t size) {
    return direct_ && kCapacity - used_ >= size ? buffer_.get() + used_ : RoomAfterFlush(size);
  }
  void Filled(const char* end) {
    used_ = static_cast<std::size_t>(end - buffer_.get());
    if (used_ >= kFlushAt) Flush();
  }
  // Flushes and puts the file in place; reports the first error of the whole run.
  Status Commit();

 private:
  // Whole buffers of kFlushAt go out; the rest of the capacity is room for the text that
  // crosses that mark.
  static constexpr std::size_t kFlushAt = 1 << 18;
  static constexpr std::size_t kCapacity = kFlushAt + (kFlushAt >> 4);

  char* RoomAfterFlush(std::size_t size);
  Failure Fail(const std::string& reason) const;
  void Flush();
  void Append(const char* data, std::size_t size);
  bool open() const { return is_stdout_ || file_ != nullptr; }

  std::string path_;
  bool crlf_ = false;  // each LF written as CR LF
  std::string caption_;
  SpecialFiles special_;
  std::unique_ptr<AtomicFile> file_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  bool direct_ = false;  // open, no error, and LF written as it is
  bool is_stdout_ = false;
  int stdout_error_ = 0;
  bool failed_ = false;
};

// The whole content of a regular file of at most max_bytes, or why it could not be read.
Result<std::string> ReadWholeFile(const std::string& path, const std::string& failure_caption,
                                  std::size_t max_bytes = 256u << 20);

}  // namespace lq
