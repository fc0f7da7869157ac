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

// Splits text fed in chunks into lines: LF or CR LF; a final line break adds nothing; a
// line is cut at its first NUL, since names are C strings everywhere else.
class LineSplitter {
 public:
  template <typename Each>
  void Feed(std::string_view chunk, Each&& each) {
    // NULs are rare: one look at the chunk spares a look at each line.
    const bool has_nul = chunk.find('\0') != std::string_view::npos;
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
    // The last line has no line break: a CR at its end is part of it.
    if (!partial_.empty()) each(std::string_view(partial_).substr(0, partial_.find('\0')));
    partial_.clear();
  }

 private:
  template <typename Each>
  static void Line(std::string_view line, bool may_hold_nul, Each& each) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    each(may_hold_nul ? line.substr(0, line.find('\0')) : line);
  }

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

// Reads a file (or standard input for "-") and hands each line to each. Nothing read after
// an error is handed on.
template <typename Each>
std::optional<Failure> ForEachLine(const std::string& path, const std::string& failure_caption,
                                   Each&& each) {
  ChunkReader reader(path, failure_caption);
  if (auto failure = reader.Open()) return failure;
  LineSplitter splitter;
  for (std::string_view chunk = reader.Next(); !chunk.empty(); chunk = reader.Next()) {
    splitter.Feed(chunk, each);
  }
  if (auto failure = reader.Error()) return failure;
  splitter.Finish(each);
  return std::nullopt;
}

}  // namespace lq
