#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "engine/failure.h"
#include "engine/path_style.h"

namespace lq {

// Writes a text file in "text mode" (each LF written as the chosen line break). A regular
// file is written beside its target and renamed over it on Commit, so a failed run leaves the
// earlier content whole; "-" is standard output; pipes and devices are written directly.
class TextFileWriter {
 public:
  // failure_caption is the caption of the notice when the file cannot be written.
  TextFileWriter(std::string path, Eol eol, std::string failure_caption);
  ~TextFileWriter();
  TextFileWriter(const TextFileWriter&) = delete;
  TextFileWriter& operator=(const TextFileWriter&) = delete;

  std::optional<Failure> Open();
  void Write(std::string_view text);
  // Where text can be appended as it is, when no line-break conversion is due; call Wrote()
  // after appending. Null otherwise.
  std::string* DirectBuffer();
  void Wrote();
  // Flushes, closes and puts the file in place; reports the first error of the whole run.
  std::optional<Failure> Commit();

 private:
  Failure Fail(int error) const;
  void Abandon();

  std::string path_;
  Eol eol_;
  std::string caption_;
  std::string temp_;    // empty when writing the target directly
  std::string target_;  // what temp_ is renamed to
  void Flush();

  std::FILE* file_ = nullptr;
  std::string buffer_;
  bool is_stdout_ = false;
  int error_ = 0;
};

// The whole content of a file, or why it could not be read (caption "Invalid file name").
std::variant<std::string, Failure> ReadWholeFile(const std::string& path,
                                                 const std::string& failure_caption);

}  // namespace lq
