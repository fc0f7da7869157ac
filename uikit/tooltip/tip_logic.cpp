#include "uikit/tooltip/tip_logic.h"

namespace lq {
namespace {

// Bytes of the UTF-8 sequence a lead byte starts; a stray byte counts as one character.
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

HintParts SplitHint(std::string_view hint) {
  const std::size_t lf = hint.find('\n');
  if (lf == std::string_view::npos) return {std::string(hint), std::string()};
  return {std::string(hint.substr(0, lf)), std::string(hint.substr(lf + 1))};
}

TipLines CountTipLines(std::string_view text) {
  TipLines result;
  std::string current;
  std::size_t length = 0;
  auto end_line = [&] {
    result.lines.push_back(std::move(current));
    current.clear();
    length = 0;
  };
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    // The pair is stepped over: its LF alone makes the break.
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      ++i;
      continue;
    }
    const std::size_t n = std::min(SequenceLength(static_cast<unsigned char>(c)), text.size() - i);
    ++length;
    if (c == '\n' || c == '\r') {
      ++result.count;
      end_line();
    } else {
      current.append(text.substr(i, n));
      if (length > result.longest) result.longest = length;
    }
    i += n;
  }
  end_line();
  return result;
}

wxSize TipSizeFor(const wxSize& line_extent, int line_count, unsigned max_width,
                  unsigned max_height) {
  unsigned width = static_cast<unsigned>(line_extent.GetWidth() + 8);
  unsigned height = static_cast<unsigned>(line_extent.GetHeight() * line_count + 4);
  if (width > max_width) width = max_width;
  if (height > max_height) height = max_height;
  return {static_cast<int>(width), static_cast<int>(height)};
}

wxSize DefaultTipMaxSize(const wxSize& screen) {
  return {screen.GetWidth() / 3 * 2, screen.GetHeight() / 3};
}

int TipShowDelayMs(long long now, long long last_clear_tick) {
  return now == last_clear_tick ? kTipLongDelayMs : kTipShortDelayMs;
}

wxRect PlaceTipRect(const wxPoint& anchor, const wxSize& tip, const wxSize& screen) {
  int left = anchor.x;
  int top = anchor.y + 32;
  int right = left + tip.GetWidth();
  int bottom = top + tip.GetHeight();
  const int d = tip.GetWidth() / 2 - 5;
  left -= d;
  right -= d;
  if (left < 0) {
    const int dx = 2 - left;
    left += dx;
    right += dx;
  } else if (right > screen.GetWidth()) {
    const int dx = screen.GetWidth() - right - 2;
    left += dx;
    right += dx;
  }
  if (bottom > screen.GetHeight()) {
    const int dy = tip.GetHeight() + 42;
    top -= dy;
    bottom -= dy;
  }
  return {left, top, right - left, bottom - top};
}

}  // namespace lq
