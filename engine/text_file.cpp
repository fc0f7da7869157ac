#include "engine/text_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

namespace lq {
namespace fs = std::filesystem;
namespace {

std::string TempNameBeside(const fs::path& target) {
  std::random_device rd;
  const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
  return (dir / ("." + target.filename().string() + ".lq-" + std::to_string(rd()))).string();
}

}  // namespace

TextFileWriter::TextFileWriter(std::string path, Eol eol, std::string failure_caption)
    : path_(std::move(path)), eol_(eol), caption_(std::move(failure_caption)) {}

TextFileWriter::~TextFileWriter() { Abandon(); }

Failure TextFileWriter::Fail(int error) const {
  return Failure{is_stdout_ ? "standard output" : path_, caption_,
                 error != 0 ? std::strerror(error) : "write failed"};
}

void TextFileWriter::Abandon() {
  if (file_ != nullptr && !is_stdout_) std::fclose(file_);
  file_ = nullptr;
  direct_ = false;
  if (!temp_.empty()) {
    std::error_code ec;
    fs::remove(temp_, ec);
    temp_.clear();
  }
}

std::optional<Failure> TextFileWriter::Open() {
  if (path_ == "-") {
    is_stdout_ = true;
    file_ = stdout;
    std::fflush(stdout);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    buffer_ = std::make_unique_for_overwrite<char[]>(kCapacity);
    direct_ = eol_ == Eol::Lf;
    return std::nullopt;
  }
  if (path_.empty()) return Failure{path_, caption_, "no file name"};
  std::error_code ec;
  fs::path target(path_);
  // Write through a link to the file it names, so the link itself stays.
  if (fs::is_symlink(fs::symlink_status(target, ec))) {
    const fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) target = resolved;
  }
  const fs::file_status st = fs::status(target, ec);
  if (fs::is_directory(st)) return Failure{path_, caption_, std::strerror(EISDIR)};
  const bool exists = fs::exists(st);
  if (!exists || fs::is_regular_file(st)) {
    temp_ = TempNameBeside(target);
    errno = 0;
    file_ = std::fopen(temp_.c_str(), "wbx");
    if (file_ == nullptr) {
      const int err = errno;
      temp_.clear();
      // A writable file in a folder we may not add to is still written, in place.
      if (!exists) return Fail(err);
      errno = 0;
      file_ = std::fopen(target.string().c_str(), "wb");
      if (file_ == nullptr) return Fail(errno);
    }
    if (exists) fs::permissions(temp_, st.permissions(), ec);
    target_ = target.string();
  } else {
    errno = 0;
    file_ = std::fopen(target.string().c_str(), "wb");
    if (file_ == nullptr) return Fail(errno);
  }
  // Writes go out in whole buffers of our own; the stream adds no second copy.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  buffer_ = std::make_unique_for_overwrite<char[]>(kCapacity);
  direct_ = eol_ == Eol::Lf;
  return std::nullopt;
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
  if (file_ == nullptr || error_ != 0) return;
  if (eol_ == Eol::Lf) {
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
  if (used_ != 0 && error_ == 0 && std::fwrite(buffer_.get(), 1, used_, file_) != used_) {
    error_ = errno != 0 ? errno : EIO;
    direct_ = false;
  }
  used_ = 0;
}

std::optional<Failure> TextFileWriter::Commit() {
  if (file_ == nullptr) return Fail(error_ != 0 ? error_ : EBADF);
  Flush();
  errno = 0;
  if (std::fflush(file_) != 0 && error_ == 0) error_ = errno != 0 ? errno : EIO;
  if (std::ferror(file_) && error_ == 0) error_ = EIO;
  if (!is_stdout_) {
    errno = 0;
    if (std::fclose(file_) != 0 && error_ == 0) error_ = errno != 0 ? errno : EIO;
  }
  file_ = nullptr;
  direct_ = false;
  if (error_ == 0 && !temp_.empty()) {
    std::error_code ec;
    fs::rename(temp_, target_, ec);
    if (ec)
      error_ = ec.value();
    else
      temp_.clear();
  }
  if (error_ != 0) {
    Abandon();
    return Fail(error_);
  }
  return std::nullopt;
}

std::variant<std::string, Failure> ReadWholeFile(const std::string& path,
                                                 const std::string& failure_caption) {
  errno = 0;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return Failure{path, failure_caption, std::strerror(errno)};
  std::string data;
  char buf[1 << 16];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
  const int err = std::ferror(f) ? (errno != 0 ? errno : EIO) : 0;
  std::fclose(f);
  if (err != 0) return Failure{path, failure_caption, std::strerror(err)};
  return data;
}

}  // namespace lq
