#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/capacities.h"
#include "engine/compiled_text.h"
#include "engine/file_values.h"
#include "engine/padded_text.h"
#include "engine/path_style.h"
#include "engine/posix_relation.h"
#include "engine/script_settings.h"
#include "engine/sse2_block.h"
#include "engine/tail_scan.h"

namespace lq {

// The shortest way of composing, for the usual jobs: Posix names of 16 bytes or more, no
// inverted slashes, no ZQ_RELPATH, and no escaping or one that writes a single byte
// otherwise (shell, csv). The line goes straight from the name as given into the output:
// nothing of the name is copied first. Every value of the name is a range between two of its
// marks (its start, its last component, its last dot there, its end), found from one look at
// its end (tail_scan.h); ranges that meet in the texts ("ZQ_NAMEZQ_EXT") are written as one,
// and so are literal runs that meet once an empty value (ZQ_DRIVE, mode none) is left out.
// Write gives null for any other name; the values' way (FileValues and LineWriter) then
// writes it, and gives the same bytes.
class DirectLine {
 public:
  // The room Write needs: the longest line and what a short copy may write past it.
  static constexpr std::size_t kRoom = kLineMax + kReadSlack;

  // The settings are read here once: they stay as they are while a composer lives.
  DirectLine(const CompiledText& header, const CompiledText& queue, const ScriptSettings& settings,
             PathStyle style);
  DirectLine(DirectLine&&) = default;
  DirectLine& operator=(DirectLine&&) = default;
  // The literal runs are read through pointers into literals_, which a copy would not own.
  DirectLine(const DirectLine&) = delete;
  DirectLine& operator=(const DirectLine&) = delete;

  // Whether the job is one Write can take at all.
  bool on() const { return on_; }

  // Writes the line of name, item index, into room (kRoom bytes at least) and returns its
  // end; null when the name needs the values' way (too short, no separator near its end, a
  // relative one in relative mode, or a line that might not fit). kEscaping says whether an
  // escaping is chosen, as the settings say.
  template <bool kEscaping>
  char* Write(char* room, long long index, std::string_view name);

 private:
  // The marks of a name: 0 its start, 1 its last component, 2 the last dot there (or its
  // end), 3 its end. A range runs from one mark to a later one.
  static constexpr std::size_t kMarks = 4;
  struct Range {
    std::uint8_t from;
    std::uint8_t to;
  };
  // A line's bytes come from slots: the ranges in use, the numbers, the relative name, then
  // the literal runs.
  static constexpr std::size_t kSelIndexSlot = 0;
  static constexpr std::size_t kCountSlot = 1;
  static constexpr std::size_t kRelativeSlot = 2;
  static constexpr std::size_t kFirstRangeSlot = 3;
  struct Source {
    const char* at;  // readable for 16 bytes when size is below 16, else for size
    std::size_t size;
  };
  // What a piece of a text is before the slots are laid out.
  struct Part {
    enum Kind { kLiteral, kRange, kSelIndex, kCount, kRelative } kind;
    std::string literal;
    Range range{0, 0};
  };

  // Copies n bytes from src (see Source); may write 16 bytes past to + n.
  static char* Put(char* to, const char* src, std::size_t n) {
    if (n < 16) {
      std::memcpy(to, src, 16);
      return to + n;
    }
    std::size_t i = 0;
    for (; i + 16 < n; i += 16) std::memcpy(to + i, src + i, 16);
    std::memcpy(to + n - 16, src + n - 16, 16);
    return to + n;
  }
  // Whether mark_ occurs in name[from, n); n is 16 or more.
  bool Holds(const char* name, std::size_t from, std::size_t n) const {
    if constexpr (kHaveSse2) {
      if (n - from < 16) {
        // Inside the last block: only the bits from `from` on count.
        return (Block16(name + n - 16).Mask(mark_) >> (from + 16 - n)) != 0;
      }
      std::uint32_t found = 0;
      for (std::size_t i = from; i + 16 < n; i += 16) found |= Block16(name + i).Mask(mark_);
      return (found | Block16(name + n - 16).Mask(mark_)) != 0;
    } else {
      return std::memchr(name + from, mark_, n - from) != nullptr;
    }
  }
  // The line for a name holding mark_: name bytes escaped, byte by byte, as FileValues does.
  char* WriteEscaped(char* room) const;

  // Appends the parts of text, joining each to the one before where they meet.
  void AddParts(std::vector<Part>& parts, const CompiledText& text) const;
  static void Join(std::vector<Part>& parts, Part part);
  void Lay(const std::vector<Part>& parts);

  bool on_ = false;
  PathMode mode_ = PathMode::kFull;
  bool need_tail_ = false;  // the name's last separator and dot are asked for
  bool numbered_ = false;   // ZQ_GETSELINDEX, written sel_index_uses_ times
  bool counted_ = false;    // ZQ_GETCOUNT, written count_uses_ times
  std::size_t sel_index_uses_ = 0;
  std::size_t count_uses_ = 0;
  std::uint8_t scan_from_ = kMarks;  // the first mark of a written name byte
  char mark_ = '\0';                 // the byte the escaping writes otherwise, and its text
  std::string_view mark_text_;
  std::vector<std::uint8_t> pieces_;  // the slot of each piece, in the line's order
  std::vector<Source> sources_;
  std::vector<Range> ranges_;            // the ranges in use, slot by slot from kFirstRangeSlot
  std::vector<std::size_t> range_uses_;  // how often each is written
  std::size_t relative_uses_ = 0;
  std::size_t literal_size_ = 0;
  std::vector<char> literals_;         // the runs, kReadSlack bytes after them; never moves
  std::vector<std::string_view> raw_;  // the name's bytes of each slot, for escaping
  char end_block_[32] = {};            // the name's last 16 bytes, with slack after them
  PosixRelation relation_;
  PaddedText climbed_;
  DecimalText sel_index_;
  DecimalText count_;
};

template <bool kEscaping>
[[gnu::always_inline]] inline char* DirectLine::Write(char* room, long long index,
                                                      std::string_view name) {
  constexpr std::size_t npos = std::string_view::npos;
  const std::size_t n = name.size();
  const char* s = name.data();
  if (n < 16) return nullptr;
  TailMarks tail{npos, npos};
  if (need_tail_ && !FindPosixTail(name, tail)) return nullptr;
  std::memcpy(end_block_, s + n - 16, 16);
  const std::size_t marks[kMarks] = {0, tail.separator + 1, tail.dot == npos ? n : tail.dot, n};
  std::size_t size = literal_size_;  // of the line
  // The bytes of name[a, b): short ones near the end are read from end_block_.
  // The members are read once: every store of a copy could otherwise have changed them.
  Source* const sources = sources_.data();
  const std::size_t range_count = ranges_.size();
  for (std::size_t r = 0; r < range_count; ++r) {
    const std::size_t a = marks[ranges_[r].from];
    const std::size_t value = marks[ranges_[r].to] - a;
    const char* at = value >= 16 || a + 16 <= n ? s + a : end_block_ + (a + 16 - n);
    sources[kFirstRangeSlot + r] = {at, value};
    size += range_uses_[r] * value;
    if constexpr (kEscaping) raw_[kFirstRangeSlot + r] = std::string_view(s + a, value);
  }
  if (numbered_) {
    const std::string_view v = sel_index_.For(index + 1);
    sources_[kSelIndexSlot] = {v.data(), v.size()};
  }
  if (counted_) {
    const std::string_view v = count_.For(index);
    sources_[kCountSlot] = {v.data(), v.size()};
  }
  size += sel_index_uses_ * sources_[kSelIndexSlot].size + count_uses_ * sources_[kCountSlot].size;
  if (relative_uses_ != 0) {
    // A name that is not absolute is joined to the current folder first: the values' way.
    if (s[0] != '/') return nullptr;
    const std::string_view r = relation_.Relate(name, tail.separator, climbed_);
    // std::less_equal: its order holds between unrelated pointers too.
    const std::less_equal<const char*> before;
    const char* at = r.data();
    if (before(s, r.data()) && before(r.data(), s + n) && r.size() < 16 && r.data() + 16 > s + n) {
      at = end_block_ + (r.data() + 16 - (s + n));  // a short end of the name
    }
    sources_[kRelativeSlot] = {at, r.size()};  // climbed_ has its slack
    size += r.size();
    if constexpr (kEscaping) raw_[kRelativeSlot] = r;
  }
  if constexpr (kEscaping) {
    if (scan_from_ < kMarks && Holds(s, marks[scan_from_], n)) [[unlikely]] {
      // Each name byte may become mark_text_: a bound on the escaped line.
      if (literal_size_ + (size - literal_size_) * mark_text_.size() > kLineMax) return nullptr;
      return WriteEscaped(room);
    }
  }
  if (size > kLineMax) return nullptr;
  char* to = room;
  const std::uint8_t* const pieces_end = pieces_.data() + pieces_.size();
  for (const std::uint8_t* p = pieces_.data(); p != pieces_end; ++p) {
    to = Put(to, sources[*p].at, sources[*p].size);
  }
  return to;
}

}  // namespace lq
