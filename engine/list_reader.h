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
  Refuse,  // reading stops there; problem() tells which line held it
};

// Why a splitter stopped handing on lines.
enum class LineProblem { kNone, kNul, kTooLong };

// What both splitters share: the piece still open at the end of a chunk, the count of
// pieces handed on, and why and where the reading stopped.
class SplitterState {
 public:
  LineProblem problem() const { return problem_; }
  // The piece (line or name), counted from 1, that stopped the reading; 0 when none did.
  std::size_t problem_line() const { return problem_line_; }

 protected:
  explicit SplitterState(std::size_t max_piece) : max_piece_(max_piece) {}

  void Stop(LineProblem problem) {
    problem_ = problem;
    problem_line_ = pieces_ + 1;
    partial_.clear();
  }
  bool TooLong(std::size_t size) const { return max_piece_ != 0 && size > max_piece_; }

  // Hands one piece on; false when it was too long and stopped the reading.
  template <typename Each>
  bool HandOn(std::string_view piece, Each& each) {
    if (TooLong(piece.size())) [[unlikely]] {
      Stop(LineProblem::kTooLong);
      return false;
    }
    ++pieces_;
    each(piece);
    return true;
  }

  // Hands piece(text, joined) each piece of chunk that ends where next_end(from) says,
  // joined to the piece left open by the chunk before; keeps the rest open. False once
  // piece stopped the reading.
  template <typename NextEnd, typename Piece>
  bool SplitChunk(std::string_view chunk, NextEnd&& next_end, Piece&& piece) {
    std::size_t start = 0;
    for (std::size_t end = next_end(start); end != std::string_view::npos; end = next_end(start)) {
      if (partial_.empty()) {
        if (!piece(chunk.substr(start, end - start), false)) return false;
      } else {
        partial_ += chunk.substr(start, end - start);
        const bool go_on = piece(std::string_view(partial_), true);
        partial_.clear();
        if (!go_on) return false;
      }
      start = end + 1;
    }
    partial_ += chunk.substr(start);
    return true;
  }

  std::string partial_;
  LineProblem problem_ = LineProblem::kNone;

 private:
  std::size_t max_piece_;
  std::size_t pieces_ = 0;
  std::size_t problem_line_ = 0;
};

// Splits text fed in chunks into lines: LF or CR LF; a final line break adds nothing. With
// a max_line, a longer line stops the reading as soon as it passes that length, so memory
// stays bounded however long it is.
class LineSplitter : public SplitterState {
 public:
  explicit LineSplitter(NulInLine nul = NulInLine::Cut, std::size_t max_line = 0)
      : SplitterState(max_line), nul_(nul) {}

  template <typename Each>
  void Feed(std::string_view chunk, Each&& each) {
    if (problem_ != LineProblem::kNone) return;
    // NULs are rare: one look at the chunk spares a look at each line.
    const bool has_nul = chunk.find('\0') != std::string_view::npos;
    if (has_nul && nul_ == NulInLine::Refuse) {
      RefuseFrom(chunk, each);
      return;
    }
    NewlineFinder lines(chunk);
    const bool go_on = SplitChunk(
        chunk, [&lines](std::size_t) { return lines.Next(); },
        [&](std::string_view line, bool joined) { return Line(line, has_nul || joined, each); });
    // One byte more than a line may hold, for the CR of a CR LF.
    if (go_on && !partial_.empty() && TooLong(partial_.size() - 1)) Stop(LineProblem::kTooLong);
  }

  template <typename Each>
  void Finish(Each&& each) {
    if (problem_ != LineProblem::kNone) return;
    // The last line has no line break: a CR at its end is part of it.
    if (!partial_.empty()) {
      const std::string_view last = std::string_view(partial_).substr(0, partial_.find('\0'));
      if (TooLong(last.size())) {
        Stop(LineProblem::kTooLong);
      } else {
        each(last);
      }
    }
    partial_.clear();
  }

 private:
  // The lines of chunk up to the first that holds a NUL, which is then noted.
  template <typename Each>
  void RefuseFrom(std::string_view chunk, Each& each) {
    const std::size_t nul = chunk.find('\0');
    std::size_t start = 0;
    for (std::size_t lf = chunk.find('\n'); lf != std::string_view::npos && lf < nul;
         lf = chunk.find('\n', start)) {
      Feed(chunk.substr(start, lf + 1 - start), each);
      if (problem_ != LineProblem::kNone) return;
      start = lf + 1;
    }
    Stop(LineProblem::kNul);
  }

  // Hands one line on; false when it stopped the reading.
  template <typename Each>
  bool Line(std::string_view line, bool may_hold_nul, Each& each) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (may_hold_nul) line = line.substr(0, line.find('\0'));
    return HandOn(line, each);
  }

  NulInLine nul_;
};

// Splits text fed in chunks at NULs, as find -print0 writes names: every byte but NUL is
// part of a name; a final NUL adds nothing. A name longer than max_name stops the reading.
class NulSplitter : public SplitterState {
 public:
  explicit NulSplitter(std::size_t max_name = 0) : SplitterState(max_name) {}

  template <typename Each>
  void Feed(std::string_view chunk, Each&& each) {
    if (problem_ != LineProblem::kNone) return;
    const bool go_on = SplitChunk(
        chunk, [chunk](std::size_t from) { return chunk.find('\0', from); },
        [&](std::string_view name, bool) { return HandOn(name, each); });
    if (go_on && TooLong(partial_.size())) Stop(LineProblem::kTooLong);
  }
  template <typename Each>
  void Finish(Each&& each) {
    if (problem_ == LineProblem::kNone && !partial_.empty()) HandOn(partial_, each);
    partial_.clear();
  }
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
  // With regular_only, anything but a regular file is refused: a pipe could block the
  // window until another program opens its other end.
  ChunkReader(const std::string& path, const std::string& failure_caption,
              bool regular_only = false);
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
  bool regular_only_;
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
    if (splitter.problem() != LineProblem::kNone) return std::nullopt;  // read no further
  }
  if (auto failure = reader.Error()) return failure;
  splitter.Finish(each);
  return std::nullopt;
}

// Why a splitter stopped, named as GNU tools name a place: "names.txt:12".
template <typename Splitter>
std::optional<Failure> LineFailure(const std::string& path, const Splitter& splitter,
                                   std::size_t max, std::string_view too_long = "name") {
  if (splitter.problem() == LineProblem::kNone) return std::nullopt;
  const std::string where = (path == "-" ? std::string("standard input") : path) + ":" +
                            std::to_string(splitter.problem_line());
  return Failure{where, "",
                 splitter.problem() == LineProblem::kNul
                     ? std::string("the line holds a NUL byte")
                     : std::string(too_long) + " longer than " + std::to_string(max) + " bytes"};
}

// Each line of a file (or standard input for "-"). Under NulInLine::Refuse a line holding a
// NUL, and with a max_line a longer line, stops the reading with a failure naming the line.
template <typename Each>
std::optional<Failure> ForEachLine(const std::string& path, const std::string& failure_caption,
                                   Each&& each, NulInLine nul = NulInLine::Cut,
                                   std::size_t max_line = 0, std::string_view too_long = "name") {
  LineSplitter splitter(nul, max_line);
  if (auto failure = ForEachPiece(path, failure_caption, splitter, each)) return failure;
  return LineFailure(path, splitter, max_line, too_long);
}

// The longest line a list file may hold (names longer than an item come in pieces), so that
// reading one, even /dev/zero, stays within bounded memory.
inline constexpr std::size_t kListLineMax = std::size_t{1} << 20;

// Each NUL-separated name of a file (or standard input for "-"), none longer than max_name.
template <typename Each>
std::optional<Failure> ForEachNulSeparated(const std::string& path,
                                           const std::string& failure_caption, Each&& each,
                                           std::size_t max_name = 0) {
  NulSplitter splitter(max_name);
  if (auto failure = ForEachPiece(path, failure_caption, splitter, each)) return failure;
  return LineFailure(path, splitter, max_name);
}

}  // namespace lq
