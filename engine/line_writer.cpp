#include "engine/line_writer.h"

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
    const std::size_t from = literals_.size();
    literals_.append(text.literals, s.from, s.size);
    pieces_.push_back({static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(s.size), -1});
  }
}

}  // namespace lq
