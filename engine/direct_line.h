#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/capacities.h"
#include "engine/compiled_text.h"
#include "engine/file_values.h"
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
// Short pieces are copied as whole 32-byte blocks, read from sources with slack after them
// (the name's end from a copy of its last 32 bytes).
// Write gives null for any other name; the values' way (FileValues and LineWriter) then
// writes it, and gives the same bytes.
class DirectLine {
 public:
  // Bytes past a short source that may be read, and past the line that may be written.
  static constexpr std::size_t kSlack = 32;
  // The room Write needs: the longest line and what a short copy may write past it.
  static constexpr std::size_t kRoom = kLineMax + kSlack;

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
  // relative one or one climbing more than 50 levels in relative mode, or a line that might
  // not fit). kEscaping says whether an
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
  // A line's bytes come from slots: the numbers, the climbs and the rest of a relative name,
  // the ranges in use, then the literal runs.
  static constexpr std::size_t kSelIndexSlot = 0;
  static constexpr std::size_t kCountSlot = 1;
  static constexpr std::size_t kClimbSlot = 2;
  static constexpr std::size_t kRelativeSlot = 3;
  static constexpr std::size_t kFirstRangeSlot = 4;
  // The most climbs the relative form has (the general way's bound).
  static constexpr std::size_t kMaxClimbs = 50;
  struct Source {
    const char* at;  // readable for kSlack bytes when size is kSlack or less, else for size
    std::size_t size;
  };
  // What a piece of a text is before the slots are laid out.
  struct Part {
    enum Kind { kLiteral, kRange, kSelIndex, kCount, kRelative } kind;
    std::string literal;
    Range range{0, 0};
  };

  // Copies n bytes from src (see Source); may write kSlack bytes past to + n. Whole blocks
  // for the lengths of most values, so that the branch taken seldom changes.
  static char* Put(char* to, const char* src, std::size_t n) {
    if (n <= 32) {
      std::memcpy(to, src, 32);
    } else if (n <= 64) {
      std::memcpy(to, src, 32);
      std::memcpy(to + n - 32, src + n - 32, 32);
    } else {
      std::size_t i = 0;
      for (; i + 16 < n; i += 16) std::memcpy(to + i, src + i, 16);
      std::memcpy(to + n - 16, src + n - 16, 16);
    }
    return to + n;
  }
  // Whether mark_ occurs in name[from, n); n is 16 or more, and end_block_ holds its end.
  bool Holds(const char* name, std::size_t from, std::size_t n) const {
    if constexpr (kHaveSse2) {
      if (n - from <= 32) {
        // Inside the last 32 bytes: only the bits from `from` on count.
        const std::uint64_t bits = Block32(end_block_).Mask(mark_);
        return (bits >> (from + 32 - n)) != 0;
      }
      std::uint32_t found = Block32(name + from).Mask(mark_) | Block32(name + n - 32).Mask(mark_);
      for (std::size_t i = from + 32; i + 32 < n; i += 16) found |= Block16(name + i).Mask(mark_);
      return found != 0;
    } else {
      return std::memchr(name + from, mark_, n - from) != nullptr;
    }
  }
  // The line for a name holding mark_: its bytes escaped as FileValues escapes them.
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
  // The same as sources, which never move: the line's loop reads no slot numbers.
  std::vector<const Source*> piece_sources_;
  std::vector<Source> sources_;
  // The ranges in use, slot by slot from kFirstRangeSlot (four marks make six at most), and
  // how often each is written; arrays, so that no pointer to them is loaded again.
  static constexpr std::size_t kMaxRanges = 6;
  std::array<Range, kMaxRanges> ranges_{};
  std::size_t range_count_ = 0;
  std::array<std::size_t, kMaxRanges> range_uses_{};
  std::size_t relative_uses_ = 0;
  std::size_t literal_size_ = 0;
  std::vector<char> literals_;  // the runs, kSlack bytes after them; never moves
  // The name's bytes of each value slot, for escaping.
  std::array<std::string_view, kFirstRangeSlot + kMaxRanges> raw_{};
  // The name's last 32 bytes (all of a shorter one, at the end of the 32), then kSlack bytes.
  char end_block_[32 + kSlack] = {};
  PosixRelation relation_;
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
  // The name's end, whatever its length from 16 on; the blocks meet or overlap.
  const std::size_t base = n >= 32 ? n - 32 : 0;
  std::memcpy(end_block_ + (base + 32 - n), s + base, 16);
  std::memcpy(end_block_ + 16, s + n - 16, 16);
  const std::size_t marks[kMarks] = {0, tail.separator + 1, tail.dot == npos ? n : tail.dot, n};
  std::size_t size = literal_size_;  // of the line
  // The members are read once: every store of a copy could otherwise have changed them.
  Source* const sources = sources_.data();
  // The bytes of name[a, n) or less: short ones near the end are read from end_block_.
  auto readable = [&](std::size_t a) { return a + 32 <= n ? s + a : end_block_ + (a + 32 - n); };
  for (std::size_t r = 0; r < range_count_; ++r) {
    const std::size_t a = marks[ranges_[r].from];
    const std::size_t value = marks[ranges_[r].to] - a;
    sources[kFirstRangeSlot + r] = {readable(a), value};
    size += range_uses_[r] * value;
    if constexpr (kEscaping) raw_[kFirstRangeSlot + r] = std::string_view(s + a, value);
  }
  if (numbered_) {
    const std::string_view v = sel_index_.For(index + 1);
    sources[kSelIndexSlot] = {v.data(), v.size()};
    size += sel_index_uses_ * v.size();
  }
  if (counted_) {
    const std::string_view v = count_.For(index);
    sources[kCountSlot] = {v.data(), v.size()};
    size += count_uses_ * v.size();
  }
  if (relative_uses_ != 0) {
    // A name that is not absolute is joined to the current folder first: the values' way.
    if (s[0] != '/') return nullptr;
    const PosixRelation::Related r = relation_.RelateAt(name, tail.separator);
    if (r.climbs > kMaxClimbs) return nullptr;
    sources[kClimbSlot].size = 3 * r.climbs;
    sources[kRelativeSlot] = {readable(r.from), n - r.from};
    size += relative_uses_ * (3 * r.climbs + n - r.from);
    if constexpr (kEscaping) raw_[kRelativeSlot] = std::string_view(s + r.from, n - r.from);
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
  const Source* const* const pieces_end = piece_sources_.data() + piece_sources_.size();
  for (const Source* const* p = piece_sources_.data(); p != pieces_end; ++p) {
    to = Put(to, (*p)->at, (*p)->size);
  }
  return to;
}

}  // namespace lq
