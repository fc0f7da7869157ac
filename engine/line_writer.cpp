#include "engine/line_writer.h"

#include "engine/tail_scan.h"

namespace lq {

LineWriter::LineWriter(const CompiledText& header, const CompiledText& queue) {
  Add(header);
  pieces_.push_back({0, 0, kWrittenSlot});
  Add(queue);
  literals_.append(kReadSlack, '\0');
}

void LineWriter::Add(const CompiledText& text) {
  for (const CompiledText::Segment& s : text.segments) {
    if (s.var >= 0) {
      pieces_.push_back({0, 0, s.var});
      continue;
    }
    // Values hold no CR when a line is written straight out, so the CRs that composing
    // removes can only come from literals: they go now, once.
    const std::size_t from = literals_.size();
    for (const char c : std::string_view(text.body).substr(s.from, s.size)) {
      if (c != '\r') literals_.push_back(c);
    }
    const std::size_t size = literals_.size() - from;
    if (size > 0) {
      pieces_.push_back({static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(size), -1});
    }
  }
}

}  // namespace lq
