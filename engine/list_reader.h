#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/capacities.h"
#include "engine/failure.h"
#include "engine/newline_finder.h"
#include "engine/text_helpers.h"

namespace lq {

// What a line holding a NUL means.
enum class NulInLine {
  Cut,     // the line ends at it: names are C strings everywhere else
  Refuse,  // nothing more is read; nul_line() tells which line held it
};

// Splits text fed in chunks into lines: LF or CR LF; a final line break adds nothing.
class LineSplitter {
 public:
  explicit LineSplitter(NulInLine nul = NulInLine::Cut) : nul_(nul) {}

  template <typename Each>
  void Feed(std::string_view chunk, Each&& each) {
    if (nul_line_ != 0) return;
    // NULs are rare: one look at the chunk spares a look at each line.
    const bool has_nul = chunk.find('\0') != std::string_view::npos;
    if (has_nul && nul_ == NulInLine::Refuse) {
      RefuseFrom(chunk, each);
      return;
    }
    NewlineFinder lines(chunk);
    std::size_t start = 0;
    for (std::size_t lf = lines.Next(); lf != std::string_view::npos; lf = lines.Next()) {
      if (partial_.empty()) {
        Line(chunk.substr(start, lf - start), has_nul, each);
      } else {
        partial_ += chunk.substr(start, lf - start);
        Line(partial_, true, each);
        partial_.clear();
      }
      start = lf + 1;
    }
    partial_ += chunk.substr(start);
  }

  template <typename Each>
  void Finish(Each&& each) {
    if (nul_line_ != 0) return;
    // The last line has no line break: a CR at its end is part of it.
    if (!partial_.empty()) each(std::string_view(partial_).substr(0, partial_.find('\0')));
    partial_.clear();
  }

  // The line, counted from 1, that held a NUL under NulInLine::Refuse; 0 when none did.
  std::size_t nul_line() const { return nul_line_; }

 private:
  // The lines of chunk up to the first that holds a NUL, which is then noted.
  template <typename Each>
  void RefuseFrom(std::string_view chunk, Each& each) {
    const std::size_t nul = chunk.find('\0');
    std::size_t start = 0;
    for (std::size_t lf = chunk.find('\n'); lf != std::string_view::npos && lf < nul;
         lf = chunk.find('\n', start)) {
      Feed(chunk.substr(start, lf + 1 - start), each);
      start = lf + 1;
    }
    // The NUL's line: count the lines fed so far, this one included.
    nul_line_ = lines_ + 1;
    partial_.clear();
  }

  template <typename Each>
  void Line(std::string_view line, bool may_hold_nul, Each& each) {
    ++lines_;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    each(may_hold_nul ? line.substr(0, line.find('\0')) : line);
  }

  NulInLine nul_;
  std::string partial_;
  std::size_t lines_ = 0;
  std::size_t nul_line_ = 0;
};

// Splits text fed in chunks at NULs, as find -print0 writes names: every byte but NUL is
// part of a name; a final NUL adds nothing.
class NulSplitter {
 public:
  template <typename Each>
  void Feed(std::string_view chunk, Each&& each) {
    std::size_t start = 0;
    for (std::size_t nul = chunk.find('\0'); nul != std::string_view::npos;
         nul = chunk.find('\0', start)) {
      if (partial_.empty()) {
        each(chunk.substr(start, nul - start));
      } else {
        partial_ += chunk.substr(start, nul - start);
        each(std::string_view(partial_));
        partial_.clear();
      }
      start = nul + 1;
    }
    partial_ += chunk.substr(start);
  }
  template <typename Each>
  void Finish(Each&& each) {
    if (!partial_.empty()) each(std::string_view(partial_));
    partial_.clear();
  }

 private:
  std::string partial_;
};

// A list file's line as names: empty gives one empty name; longer than an item gives pieces
// of at most an item's capacity, cut between characters.
template <typename Each>
void ListLineNames(std::string_view line, Each&& each) {
  if (line.empty()) each(line);
  while (!line.empty()) {
    std::string_view piece = CutUtf8View(line, kNameMax);
    if (piece.empty()) piece = line.substr(0, kNameMax);  // not UTF-8: cut at bytes
    each(piece);
    line.remove_prefix(piece.size());
  }
}

// Reads a file, or standard input for "-", a chunk at a time.
class ChunkReader {
 public:
  // failure_caption is the caption of the notice when the file cannot be read.
  ChunkReader(const std::string& path, const std::string& failure_caption);
  ~ChunkReader();
  ChunkReader(const ChunkReader&) = delete;
  ChunkReader& operator=(const ChunkReader&) = delete;

  std::optional<Failure> Open();
  // The next chunk, valid until the next call; empty at the end and after an error.
  std::string_view Next();
  // Why reading stopped early, if it did.
  std::optional<Failure> Error() const;

 private:
  static constexpr std::size_t kChunk = 1 << 17;

  bool from_stdin_;
  std::string shown_;
  std::string path_;
  std::string caption_;
  std::FILE* file_ = nullptr;
  std::unique_ptr<char[]> buffer_;
  int error_ = 0;
};

// Reads a file (or standard input for "-") and hands each piece a Splitter makes of it to
// each. Nothing read after an error is handed on.
template <typename Splitter, typename Each>
std::optional<Failure> ForEachPiece(const std::string& path, const std::string& failure_caption,
                                    Splitter& splitter, Each&& each) {
  ChunkReader reader(path, failure_caption);
  if (auto failure = reader.Open()) return failure;
  for (std::string_view chunk = reader.Next(); !chunk.empty(); chunk = reader.Next()) {
    splitter.Feed(chunk, each);
  }
  if (auto failure = reader.Error()) return failure;
  splitter.Finish(each);
  return std::nullopt;
}

// Each line of a file (or standard input for "-"). Under NulInLine::Refuse a line holding a
// NUL stops the reading with a failure that names the file and the line.
template <typename Each>
std::optional<Failure> ForEachLine(const std::string& path, const std::string& failure_caption,
                                   Each&& each, NulInLine nul = NulInLine::Cut) {
  LineSplitter splitter(nul);
  if (auto failure = ForEachPiece(path, failure_caption, splitter, each)) return failure;
  if (splitter.nul_line() != 0) {
    return Failure{path == "-" ? "standard input" : path, failure_caption,
                   "line " + std::to_string(splitter.nul_line()) + " holds a NUL byte"};
  }
  return std::nullopt;
}

// Each NUL-separated name of a file (or standard input for "-").
template <typename Each>
std::optional<Failure> ForEachNulSeparated(const std::string& path,
                                           const std::string& failure_caption, Each&& each) {
  NulSplitter splitter;
  return ForEachPiece(path, failure_caption, splitter, each);
}

}  // namespace lq
