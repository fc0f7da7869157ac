#include "engine/text_file.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "engine/atomic_file_steps.h"
#include "engine/file_reader.h"
#include "engine/path_text.h"

namespace lq {

TextFileWriter::TextFileWriter(std::string path, std::string failure_caption, SpecialFiles special)
    : path_(std::move(path)), caption_(std::move(failure_caption)), special_(special) {}

TextFileWriter::TextFileWriter(std::string path, Eol eol, std::string failure_caption,
                               SpecialFiles special)
    : TextFileWriter(std::move(path), std::move(failure_caption), special) {
  crlf_ = eol == Eol::kCrLf;
}

TextFileWriter::~TextFileWriter() = default;

Failure TextFileWriter::Fail(const std::string& reason) const {
  return Failure{is_stdout_ ? "standard output" : path_, caption_, reason};
}

Status TextFileWriter::Open() {
  if (path_ == "-") {
    is_stdout_ = true;
    std::fflush(stdout);  // what went out through the stream comes first
  } else {
    if (path_.empty()) return Fail("no file name");
    auto file = std::make_unique<AtomicFile>(ToPath(path_), special_);
    if (Status opened = file->Open(); !opened.ok()) return Fail(opened.failure().reason);
    file_ = std::move(file);
  }
  buffer_ = std::make_unique_for_overwrite<char[]>(kCapacity);
  direct_ = !crlf_;
  return {};
}

void TextFileWriter::Append(const char* data, std::size_t size) {
  while (size > 0) {
    if (used_ >= kFlushAt) Flush();
    const std::size_t part = std::min(size, kCapacity - used_);
    std::memcpy(buffer_.get() + used_, data, part);
    used_ += part;
    data += part;
    size -= part;
  }
}

void TextFileWriter::Write(std::string_view text) {
  if (!open() || failed_) return;
  if (!crlf_) {
    Append(text.data(), text.size());
  } else {
    std::size_t from = 0;
    for (std::size_t at = text.find('\n'); at != std::string_view::npos;
         at = text.find('\n', from)) {
      Append(text.data() + from, at - from);
      Append("\r\n", 2);
      from = at + 1;
    }
    Append(text.data() + from, text.size() - from);
  }
  if (used_ >= kFlushAt) Flush();
}

char* TextFileWriter::RoomAfterFlush(std::size_t size) {
  if (!direct_) return nullptr;
  Flush();
  return direct_ && kCapacity - used_ >= size ? buffer_.get() + used_ : nullptr;
}

void TextFileWriter::Flush() {
  if (used_ != 0 && !failed_) {
    if (file_ != nullptr) {
      file_->Write(buffer_.get(), used_);
    } else if (const int err = atomic_steps::WriteAll(STDOUT_FILENO, buffer_.get(), used_);
               err != 0) {
      // The platform's write, as for files: interruptions and short writes taken care of.
      stdout_error_ = err;
      failed_ = true;
      direct_ = false;
    }
  }
  used_ = 0;
}

Status TextFileWriter::Commit() {
  if (!open()) return Fail(std::strerror(EBADF));
  Flush();
  Status committed;
  if (file_ != nullptr) {
    committed = file_->Commit();
    file_.reset();
  } else {
    is_stdout_ = false;
    if (stdout_error_ != 0) committed = Failure{{}, {}, std::strerror(stdout_error_)};
  }
  direct_ = false;
  if (!committed.ok()) {
    Failure failure = Fail(committed.failure().reason);
    if (path_ == "-") failure.text = "standard output";
    return failure;
  }
  return {};
}

Result<std::string> ReadWholeFile(const std::string& path, const std::string& failure_caption,
                                  std::size_t max_bytes) {
  FileBytes read = ReadBoundedFile(ToPath(path), max_bytes);
  switch (read.status) {
    case ReadStatus::kOk:
      return std::move(read.bytes);
    case ReadStatus::kMissing:
      return Failure{path, failure_caption, std::strerror(ENOENT)};
    case ReadStatus::kUnreadable:
      break;
  }
  return Failure{path, failure_caption, read.reason};
}

}  // namespace lq
