#include "engine/direct_line.h"

#include <algorithm>

namespace lq {
namespace {

constexpr unsigned Bit(Variable v) { return 1u << static_cast<int>(v); }

// An empty value has no bytes of its own; a short copy reads these instead.
constexpr char kNothing[DirectLine::kSlack] = {};

// The climbs of a relative name: 50 "../", then slack.
constexpr std::array<char, 150 + DirectLine::kSlack> Climbs() {
  std::array<char, 150 + DirectLine::kSlack> text{};
  for (std::size_t i = 0; i < 150; ++i) text[i] = "../"[i % 3];
  return text;
}
constexpr std::array<char, 150 + DirectLine::kSlack> kClimbs = Climbs();

}  // namespace

DirectLine::DirectLine(const CompiledText& header, const CompiledText& queue,
                       const ScriptSettings& settings, PathStyle style)
    : mode_(EffectiveMode(settings.CheckIndex)) {
  switch (settings.Escape) {
    case EscapeKind::kNone:
      break;
    case EscapeKind::kShell:
      mark_ = '\'';
      mark_text_ = "'\\''";  // close the quote, an escaped quote, open again
      break;
    case EscapeKind::kCsv:
      mark_ = '"';
      mark_text_ = "\"\"";
      break;
    default:
      return;  // kinds that refuse, or write more than one byte otherwise, take the values' way
  }
  const unsigned vars = header.vars | queue.vars;
  if (style != PathStyle::kPosix || settings.InvertSlash || (vars & Bit(Variable::kRelPath)) != 0) {
    return;
  }
  std::vector<Part> parts;
  AddParts(parts, header);
  switch (mode_) {
    case PathMode::kFull:
      Join(parts, Part{Part::kRange, {}, Range{0, 3}});
      break;
    case PathMode::kName:
      Join(parts, Part{Part::kRange, {}, Range{1, 3}});
      break;
    case PathMode::kRelative:
      relation_.SetFolder(settings.RelPath);
      Join(parts, Part{Part::kRelative, {}, {}});
      break;
    case PathMode::kNone:
      break;
  }
  AddParts(parts, queue);
  Lay(parts);
  // Slots are bytes: a text of more pieces than that takes the values' way.
  on_ = sources_.size() <= 256;
}

void DirectLine::Join(std::vector<Part>& parts, Part part) {
  if (!parts.empty() && parts.back().kind == part.kind) {
    Part& last = parts.back();
    if (part.kind == Part::kLiteral) {
      last.literal += part.literal;
      return;
    }
    if (part.kind == Part::kRange && last.range.to == part.range.from) {
      last.range.to = part.range.to;
      return;
    }
  }
  parts.push_back(std::move(part));
}

void DirectLine::AddParts(std::vector<Part>& parts, const CompiledText& text) const {
  for (const CompiledText::Segment& seg : text.segments) {
    if (seg.var < 0) {
      Join(parts, Part{Part::kLiteral, text.literals.substr(seg.from, seg.size), {}});
      continue;
    }
    switch (static_cast<Variable>(seg.var)) {
      case Variable::kDrive:
        break;  // a Posix name has none
      case Variable::kPath:
        Join(parts, Part{Part::kRange, {}, Range{0, 1}});
        break;
      case Variable::kName:
        Join(parts, Part{Part::kRange, {}, Range{1, 2}});
        break;
      case Variable::kExt:
        Join(parts, Part{Part::kRange, {}, Range{2, 3}});
        break;
      case Variable::kGetSelIndex:
        Join(parts, Part{Part::kSelIndex, {}, {}});
        break;
      case Variable::kGetCount:
        Join(parts, Part{Part::kCount, {}, {}});
        break;
      case Variable::kRelPath:
        break;  // never here: such a job takes the values' way
    }
  }
}

void DirectLine::Lay(const std::vector<Part>& parts) {
  // The ranges first, since the literal runs' slots follow theirs; then the runs, one after
  // another in literals_, which is complete before any source points into it.
  std::string literals;
  for (const Part& p : parts) {
    if (p.kind == Part::kLiteral) literals += p.literal;
    if (p.kind != Part::kRange) continue;
    const auto same = [&p](const Range& r) { return r.from == p.range.from && r.to == p.range.to; };
    const auto end = ranges_.begin() + static_cast<std::ptrdiff_t>(range_count_);
    if (std::find_if(ranges_.begin(), end, same) == end) ranges_[range_count_++] = p.range;
  }
  literal_size_ = literals.size();
  literals_.assign(literals.begin(), literals.end());
  literals_.resize(literal_size_ + kSlack, '\0');
  sources_.assign(kFirstRangeSlot + range_count_, Source{kNothing, 0});
  sources_[kClimbSlot].at = kClimbs.data();
  std::size_t offset = 0;
  for (const Part& p : parts) {
    switch (p.kind) {
      case Part::kLiteral:
        pieces_.push_back(static_cast<std::uint8_t>(sources_.size()));
        sources_.push_back({literals_.data() + offset, p.literal.size()});
        offset += p.literal.size();
        break;
      case Part::kRange: {
        const auto same = [&p](const Range& r) {
          return r.from == p.range.from && r.to == p.range.to;
        };
        const auto r = static_cast<std::size_t>(
            std::find_if(ranges_.begin(),
                         ranges_.begin() + static_cast<std::ptrdiff_t>(range_count_), same) -
            ranges_.begin());
        ++range_uses_[r];
        pieces_.push_back(static_cast<std::uint8_t>(kFirstRangeSlot + r));
        if (p.range.from != 0 || p.range.to != 3) need_tail_ = true;
        scan_from_ = std::min(scan_from_, p.range.from);
        break;
      }
      case Part::kSelIndex:
        ++sel_index_uses_;
        pieces_.push_back(kSelIndexSlot);
        break;
      case Part::kCount:
        ++count_uses_;
        pieces_.push_back(kCountSlot);
        break;
      case Part::kRelative:
        ++relative_uses_;
        pieces_.push_back(kClimbSlot);
        pieces_.push_back(kRelativeSlot);
        need_tail_ = true;
        scan_from_ = 0;
        break;
    }
  }
  for (const std::uint8_t slot : pieces_) piece_sources_.push_back(&sources_[slot]);
  numbered_ = sel_index_uses_ != 0;
  counted_ = count_uses_ != 0;
}

char* DirectLine::WriteEscaped(char* room) const {
  char* to = room;
  for (const std::uint8_t slot : pieces_) {
    // The name's bytes are escaped; literal runs and numbers are written as they are.
    if (slot < kRelativeSlot || slot >= kFirstRangeSlot + range_count_) {
      to = Put(to, sources_[slot].at, sources_[slot].size);
      continue;
    }
    // Runs between marks go whole.
    const char* from = raw_[slot].data();
    const char* const end = from + raw_[slot].size();
    for (;;) {
      const void* found = std::memchr(from, mark_, static_cast<std::size_t>(end - from));
      const char* stop = found == nullptr ? end : static_cast<const char*>(found);
      if (stop != from) std::memcpy(to, from, static_cast<std::size_t>(stop - from));
      to += stop - from;
      if (found == nullptr) break;
      std::memcpy(to, mark_text_.data(), mark_text_.size());
      to += mark_text_.size();
      from = stop + 1;
    }
  }
  return to;
}

}  // namespace lq
