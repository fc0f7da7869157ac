#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "engine/capacities.h"
#include "engine/failure.h"
#include "engine/newline_finder.h"
#include "engine/result.h"

namespace lq {

// What a line holding a NUL means.
enum class NulInLine {
  kCut,     // the line ends at it: names are C strings everywhere else
  kRefuse,  // reading stops there: the text is no list of lines (find -print0 output, maybe)
};

// Why a name was left out, or why the reading stopped.
enum class LineProblem {
  kNone,
  kTooLong,   // a name longer than its capacity: left out, the reading goes on
  kNul,       // a line holding a NUL under NulInLine::kRefuse: the reading stops
  kEndless,   // a line longer than a list's lines can be: the reading stops
  kEmptyRun,  // kEmptyRunMax empty names in a row: the reading stops
  kEnough,    // the pieces' reader took all it wants: the reading stops, and nothing failed
};

// The longest line whose end a reader waits for, skipping it: past that the text is no list
// of names, and even /dev/zero is read within bounded time and memory.
inline constexpr std::size_t kListLineMax = std::size_t{1} << 20;

// The most empty names in a row a reader skips: /dev/zero holds nothing else, forever.
inline constexpr std::size_t kEmptyRunMax = 65'536;

// What an empty line or name means.
enum class EmptyNames {
  kKeep,  // an empty name, as a list file's empty line is an empty item
  kSkip,  // no name: skipped and counted; kEmptyRunMax in a row stop the reading
};

// What both splitters share: the piece still open at the end of a chunk (kept while it may
// fit, else only counted), the count of pieces ended, and why and where the reading stopped.
class SplitterState {
 public:
  LineProblem problem() const { return problem_; }
  // The piece (line or name), counted from 1, that stopped the reading; 0 when none did.
  std::size_t problem_line() const { return problem_line_; }
  // How many empty names were skipped under EmptyNames::kSkip.
  std::size_t empty_names() const { return empty_names_; }

 protected:
  // max_piece bounds the pieces handed on (0: no bound); a longer one is left out, its bytes
  // counted up to its end, unless it passes max_skip (0: no bound), which stops the reading.
  // with_cr: a CR right before the end is the line break's, not the piece's.
  SplitterState(std::size_t max_piece, std::size_t max_skip, bool with_cr, EmptyNames empty)
      : max_piece_(max_piece),
        max_skip_(max_skip),
        slack_(with_cr ? 1 : 0),
        skip_empty_(empty == EmptyNames::kSkip) {}

  void Stop(LineProblem problem) {
    problem_ = problem;
    problem_line_ = pieces_ + 1;
    partial_.clear();
    skipping_ = false;
  }
  bool TooLong(std::size_t size) const { return max_piece_ != 0 && size > max_piece_; }

  // A piece too long to hand on, of size bytes: left out, or the reading stops.
  template <typename Refuse>
  bool LeaveOut(std::size_t size, Refuse& refuse) {
    if (max_skip_ != 0 && size > max_skip_) {
      Stop(LineProblem::kEndless);
      return false;
    }
    empty_run_ = 0;
    refuse(pieces_ + 1, LineProblem::kTooLong);
    ++pieces_;
    return true;
  }

  // Hands a piece that fits on to each, unless it is an empty one to skip; false once the
  // reading stopped.
  template <typename Each>
  bool HandOn(std::string_view piece, Each& each) {
    if (piece.empty() && skip_empty_) [[unlikely]] {
      if (++empty_run_ >= kEmptyRunMax) {
        Stop(LineProblem::kEmptyRun);
        return false;
      }
      ++empty_names_;
      ++pieces_;
      return true;
    }
    empty_run_ = 0;
    ++pieces_;
    // A reader that answers whether it wants more can end the reading.
    if constexpr (std::is_same_v<std::invoke_result_t<Each&, std::string_view>, bool>) {
      if (!each(piece)) {
        Stop(LineProblem::kEnough);
        return false;
      }
    } else {
      each(piece);
    }
    return true;
  }

  // Hands whole(text, joined) each piece of chunk that ends where next_end(from) says,
  // joined to the piece left open by the chunk before; keeps the rest open. False once the
  // reading stopped.
  template <typename NextEnd, typename Whole, typename Refuse>
  bool SplitChunk(std::string_view chunk, NextEnd&& next_end, Whole&& whole, Refuse& refuse) {
    std::size_t start = 0;
    for (std::size_t end = next_end(start); end != std::string_view::npos; end = next_end(start)) {
      const std::string_view part = chunk.substr(start, end - start);
      start = end + 1;
      bool go_on;
      if (partial_.empty() && !skipping_) [[likely]] {
        go_on = whole(part, false);
      } else if (skipping_) {
        go_on = EndSkipped(part, /*at_separator=*/true, refuse);
      } else {
        partial_ += part;
        go_on = whole(std::string_view(partial_), true);
        partial_.clear();
      }
      if (!go_on) return false;
    }
    return KeepOpen(chunk.substr(start));
  }

  // The piece open at the end of the text, if any: whole(text) or the end of one skipped.
  template <typename Whole, typename Refuse>
  void FinishPiece(Whole&& whole, Refuse& refuse) {
    if (problem_ != LineProblem::kNone) return;
    if (skipping_) {
      EndSkipped({}, /*at_separator=*/false, refuse);
    } else if (!partial_.empty()) {
      whole(std::string_view(partial_));
    }
    partial_.clear();
  }

  std::string partial_;
  LineProblem problem_ = LineProblem::kNone;
  std::size_t pieces_ = 0;

 private:
  // The rest of a chunk, which the next one goes on with. Once it cannot fit (a CR of a
  // CR LF aside), only its length is kept.
  bool KeepOpen(std::string_view rest) {
    if (skipping_) return Skip(rest);
    partial_ += rest;
    if (max_piece_ != 0 && partial_.size() > max_piece_ + slack_) [[unlikely]] {
      skipping_ = true;
      skipped_ = 0;
      const bool go_on = Skip(partial_);
      partial_.clear();
      return go_on;
    }
    return true;
  }

  bool Skip(std::string_view bytes) {
    skipped_ += bytes.size();
    if (!bytes.empty()) skipped_last_ = bytes.back();
    if (max_skip_ != 0 && skipped_ > max_skip_ + slack_) {
      Stop(LineProblem::kEndless);
      return false;
    }
    return true;
  }

  // The end of a piece skipped for its length; at its separator a CR before may be the
  // line break's.
  template <typename Refuse>
  bool EndSkipped(std::string_view last, bool at_separator, Refuse& refuse) {
    if (!Skip(last)) return false;
    skipping_ = false;
    const bool cr = at_separator && slack_ != 0 && skipped_last_ == '\r';
    return LeaveOut(skipped_ - (cr ? 1 : 0), refuse);
  }

  std::size_t max_piece_;
  std::size_t max_skip_;
  std::size_t slack_;
  bool skip_empty_;
  std::size_t empty_names_ = 0;
  std::size_t empty_run_ = 0;
  bool skipping_ = false;
  std::size_t skipped_ = 0;
  char skipped_last_ = 0;
  std::size_t problem_line_ = 0;
};

// Splits text fed in chunks into lines: LF or CR LF; a final line break adds nothing. With
// a max_line, a longer line is left out whole, each(line) is never told of it but
// refuse(number, LineProblem::kTooLong) is, once its end is read; memory stays bounded however
// long it is, and a line past max_skip stops the reading.
class LineSplitter : public SplitterState {
 public:
  explicit LineSplitter(NulInLine nul = NulInLine::kCut, std::size_t max_line = 0,
                        std::size_t max_skip = 0, EmptyNames empty = EmptyNames::kKeep)
      : SplitterState(max_line, max_skip, /*with_cr=*/true, empty), nul_(nul) {}

  template <typename Each, typename Refuse>
  void Feed(std::string_view chunk, Each&& each, Refuse&& refuse) {
    if (problem_ != LineProblem::kNone) return;
    // NULs are rare: one look at the chunk spares a look at each line.
    const bool has_nul = chunk.find('\0') != std::string_view::npos;
    if (has_nul && nul_ == NulInLine::kRefuse) {
      RefuseFrom(chunk, each, refuse);
      return;
    }
    NewlineFinder lines(chunk);
    SplitChunk(
        chunk, [&lines](std::size_t) { return lines.Next(); },
        [&](std::string_view line, bool joined) {
          return Line(line, has_nul || joined, each, refuse);
        },
        refuse);
  }

  template <typename Each, typename Refuse>
  void Finish(Each&& each, Refuse&& refuse) {
    // The last line has no line break: a CR at its end is part of it.
    FinishPiece([&](std::string_view last) { Whole(last, true, each, refuse); }, refuse);
  }

 private:
  // The lines of chunk up to the one that holds its first NUL, which stops the reading.
  template <typename Each, typename Refuse>
  void RefuseFrom(std::string_view chunk, Each& each, Refuse& refuse) {
    const std::size_t nul = chunk.find('\0');
    const std::size_t lf = chunk.rfind('\n', nul);
    if (lf != std::string_view::npos) Feed(chunk.substr(0, lf + 1), each, refuse);
    if (problem_ == LineProblem::kNone) Stop(LineProblem::kNul);
  }

  template <typename Each, typename Refuse>
  bool Line(std::string_view line, bool may_hold_nul, Each& each, Refuse& refuse) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return Whole(line, may_hold_nul, each, refuse);
  }

  // Hands one line on, the whole of it counted against the bound; false once the reading
  // stopped.
  template <typename Each, typename Refuse>
  bool Whole(std::string_view line, bool may_hold_nul, Each& each, Refuse& refuse) {
    if (TooLong(line.size())) [[unlikely]] {
      return LeaveOut(line.size(), refuse);
    }
    if (may_hold_nul) line = line.substr(0, line.find('\0'));
    return HandOn(line, each);
  }

  NulInLine nul_;
};

// Splits text fed in chunks at NULs, as find -print0 writes names: every byte but NUL is
// part of a name; a final NUL adds nothing. An empty name is no name: it is skipped and
// counted, and kEmptyRunMax of them in a row stop the reading. A name longer than max_name
// is left out as LineSplitter leaves out a line, told to refuse with its number.
class NulSplitter : public SplitterState {
 public:
  explicit NulSplitter(std::size_t max_name = 0, std::size_t max_skip = 0)
      : SplitterState(max_name, max_skip, /*with_cr=*/false, EmptyNames::kSkip) {}

  template <typename Each, typename Refuse>
  void Feed(std::string_view chunk, Each&& each, Refuse&& refuse) {
    if (problem_ != LineProblem::kNone) return;
    SplitChunk(
        chunk, [chunk](std::size_t from) { return chunk.find('\0', from); },
        [&](std::string_view name, bool) { return Name(name, each, refuse); }, refuse);
  }

  template <typename Each, typename Refuse>
  void Finish(Each&& each, Refuse&& refuse) {
    FinishPiece([&](std::string_view name) { Name(name, each, refuse); }, refuse);
  }

 private:
  template <typename Each, typename Refuse>
  bool Name(std::string_view name, Each& each, Refuse& refuse) {
    if (TooLong(name.size())) [[unlikely]] {
      return LeaveOut(name.size(), refuse);
    }
    return HandOn(name, each);
  }
};

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

  Status Open();
  // The next chunk, valid until the next call; empty at the end and after an error.
  std::string_view Next();
  // Why reading stopped early, or success when it did not.
  Status Error() const;

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

// How messages name a source: its path, or "standard input" for "-".
std::string SourceName(const std::string& path);

// Where a line or name is, as GNU tools name a place: "names.txt:12".
std::string PlaceOf(const std::string& path, std::size_t number);

// Why a name was left out: "name longer than 999 bytes".
std::string LeftOutReason(LineProblem problem, std::size_t max_name);

// Why a splitter stopped the reading, naming the place, or success when it did not stop it
// or stopped it because the reader had enough; piece says what the splitter splits into
// ("line" or "name").
Status StopFailure(const std::string& path, LineProblem problem, std::size_t number,
                   std::string_view piece);

// Reads a file (or standard input for "-") and hands each piece a Splitter makes of it to
// each, and each piece it leaves out to refuse(number, problem). Returns why the reading
// failed or stopped; nothing read after that is handed on.
template <typename Splitter, typename Each, typename Refuse>
Status ForEachPiece(const std::string& path, const std::string& failure_caption, Splitter& splitter,
                    Each&& each, Refuse&& refuse, std::string_view piece) {
  ChunkReader reader(path, failure_caption);
  if (Status opened = reader.Open(); !opened.ok()) return opened;
  for (std::string_view chunk = reader.Next(); !chunk.empty(); chunk = reader.Next()) {
    splitter.Feed(chunk, each, refuse);
    if (splitter.problem() != LineProblem::kNone) break;  // read no further
  }
  if (splitter.problem() == LineProblem::kNone) {
    if (Status read = reader.Error(); !read.ok()) return read;
    splitter.Finish(each, refuse);
  }
  return StopFailure(path, splitter.problem(), splitter.problem_line(), piece);
}

}  // namespace lq
