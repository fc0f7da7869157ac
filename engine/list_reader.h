#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "engine/capacities.h"
#include "engine/failure.h"
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
    while (!chunk.empty()) {
      const std::size_t lf = chunk.find('\n');
      if (lf == std::string_view::npos) {
        partial_ += chunk;
        return;
      }
      if (partial_.empty()) {
        Line(chunk.substr(0, lf), has_nul, each);
      } else {
        partial_ += chunk.substr(0, lf);
        Line(partial_, true, each);
        partial_.clear();
      }
      chunk.remove_prefix(lf + 1);
    }
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

// Reads a file (or standard input for "-") in chunks and hands each line to each.
std::optional<Failure> ReadLines(const std::string& path, const std::string& failure_caption,
                                 void (*each)(std::string_view, void*), void* context);

template <typename Each>
std::optional<Failure> ForEachLine(const std::string& path, const std::string& failure_caption,
                                   Each&& each) {
  using Fn = std::remove_reference_t<Each>;
  return ReadLines(
      path, failure_caption,
      [](std::string_view line, void* context) { (*static_cast<Fn*>(context))(line); }, &each);
}

}  // namespace lq
