#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/capacities.h"
#include "engine/compiled_text.h"
#include "engine/file_values.h"
#include "engine/path_style.h"
#include "engine/tail_scan.h"

namespace lq {

// The fast path of composing: a whole line written straight into the output buffer in one
// pass, the same bytes the composer's general way gives. Header, written name and queue are
// one run of pieces, each a literal or a value, copied in 16-byte blocks into room sized
// beforehand (short fixed-size copies beat memcpy calls; values are read from copies with
// slack after them, which spares waits on store forwarding). A name's last component comes
// from one SSE2 look at its end (tail_scan.h).
class LineWriter {
 public:
  // The room Write needs: the longest line and what a short copy may write past it.
  static constexpr std::size_t kRoom = kLineMax + kReadSlack;

  LineWriter(const CompiledText& header, const CompiledText& queue);

  // Writes the line of the name values were last Reset to into room (kRoom bytes at least)
  // and returns its end, or null when the line needs the general way (it would outgrow the
  // line capacity, or the escaping refuses the name); nothing written before the returned
  // end is then of any use. header and queue are the texts the writer was made from.
  template <bool kEscaping>
  char* Write(char* room, const CompiledText& header, const CompiledText& queue, FileValues& values,
              PathStyle style);

 private:
  // A literal (slot -1, kept in literals_ with kReadSlack more bytes for block copies) or a
  // slot of values_.
  struct Piece {
    std::uint32_t from;
    std::uint32_t size;
    int slot;
  };
  static constexpr int kWrittenSlot = static_cast<int>(kVariableNames.size());

  void Add(const CompiledText& text);

  std::vector<Piece> pieces_;
  std::string literals_;
  std::array<std::string_view, kVariableNames.size() + 1> values_;
};

// The writer is inline so that it compiles into the composer's line loop.
namespace line_writer_detail {

// Copies n bytes; src must be readable for kReadSlack bytes past n and to for as many past n.
// Most pieces of a line are short: one or two block moves beat a call to memcpy.
inline char* CopyPiece(char* to, const char* src, std::size_t n) {
  static_assert(kReadSlack >= 16);
  if (n <= 16) {
    std::memcpy(to, src, 16);
  } else if (n <= 32) {
    std::memcpy(to, src, 16);
    std::memcpy(to + n - 16, src + n - 16, 16);
  } else {
    std::memcpy(to, src, n);
  }
  return to + n;
}

constexpr unsigned Bit(Variable v) { return 1u << static_cast<int>(v); }
// The variables made of the last component of a name, and those made of no name at all.
constexpr unsigned kNameVariables = Bit(Variable::kName) | Bit(Variable::kExt);
constexpr unsigned kTailVariables =
    kNameVariables | Bit(Variable::kGetSelIndex) | Bit(Variable::kGetCount);

// An empty value may have no storage at all; CopyPiece reads this instead.
constexpr char kNothing[kReadSlack] = {};
inline std::string_view Readable(std::string_view v) {
  // NOLINTNEXTLINE(bugprone-string-constructor): empty on purpose, over readable bytes.
  return v.empty() ? std::string_view(kNothing, 0) : v;
}

}  // namespace line_writer_detail

template <bool kEscaping>
[[gnu::always_inline]] inline char* LineWriter::Write(char* room, const CompiledText& header,
                                                      const CompiledText& queue, FileValues& values,
                                                      PathStyle style) {
  const unsigned vars = header.vars | queue.vars;
  unsigned preset = 0;  // variables whose values are in values_ already
  TailMarks tail;
  // Escaped, a name the escaping writes as it is has parts written as they are.
  if ((vars & ~line_writer_detail::kTailVariables) == 0 &&
      (vars & line_writer_detail::kNameVariables) != 0 && style == PathStyle::kPosix &&
      (!kEscaping || values.NamePlain()) && FindPosixTail(values.given(), tail)) {
    // The usual job: name and extension, and numbers, from one look at the end of the name.
    const std::string_view copy = values.name();
    const std::size_t start = tail.separator + 1;
    const std::size_t dot = tail.dot == std::string_view::npos ? copy.size() : tail.dot;
    values_[static_cast<std::size_t>(Variable::kName)] = copy.substr(start, dot - start);
    values_[static_cast<std::size_t>(Variable::kExt)] =
        line_writer_detail::Readable(copy.substr(dot));
    if ((vars & line_writer_detail::Bit(Variable::kGetSelIndex)) != 0) {
      values_[static_cast<std::size_t>(Variable::kGetSelIndex)] = values.SelIndex();
    }
    if ((vars & line_writer_detail::Bit(Variable::kGetCount)) != 0) {
      values_[static_cast<std::size_t>(Variable::kGetCount)] = values.Count();
    }
    preset = line_writer_detail::kTailVariables;
  }

  std::size_t header_size = header.literal_size;
  std::size_t queue_size = queue.literal_size;
  for (unsigned left = vars; left != 0; left &= left - 1) {
    const int v = std::countr_zero(left);
    const std::size_t at = static_cast<std::size_t>(v);
    if ((preset & (1u << v)) == 0) {
      values_[at] = line_writer_detail::Readable(kEscaping ? values.Get(v) : values.Raw(v));
    }
    const std::size_t value_size = values_[at].size();
    header_size += value_size * header.uses[at];
    queue_size += value_size * queue.uses[at];
  }
  const std::string_view written =
      line_writer_detail::Readable(kEscaping ? values.Written() : values.RawWritten());
  values_[kWrittenSlot] = written;
  if (kEscaping && values.refused()) return nullptr;
  if (header_size + written.size() + queue_size > kLineMax) return nullptr;

  char* to = room;
  const char* literals = literals_.data();
  for (const Piece& p : pieces_) {
    if (p.slot < 0) {
      to = line_writer_detail::CopyPiece(to, literals + p.from, p.size);
    } else {
      const std::string_view v = values_[static_cast<std::size_t>(p.slot)];
      to = line_writer_detail::CopyPiece(to, v.data(), v.size());
    }
  }
  return to;
}

}  // namespace lq
