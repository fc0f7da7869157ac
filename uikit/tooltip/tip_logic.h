#pragma once

#include <wx/gdicmn.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lq {

// A hint split at its first line feed: the status bar's text and the tooltip's text.
struct HintParts {
  std::string status;
  std::string tip;
};
HintParts SplitHint(std::string_view hint);

// Lines of a tip text: CR LF is one break, a lone CR or LF one each (so LF CR is two).
// Lengths count UTF-8 characters.
struct TipLines {
  int count = 1;
  std::size_t longest = 0;         // characters of the longest line
  std::vector<std::string> lines;  // the lines themselves, without breaks
};
TipLines CountTipLines(std::string_view text);

// The tip's size from the extent of its widest line and the line height: width + 8,
// height x lines + 4, each limited to its maximum.
wxSize TipSizeFor(const wxSize& line_extent, int line_count, unsigned max_width,
                  unsigned max_height);

// Default limits: two thirds of the screen width (the third's remainder dropped) and a third
// of its height.
wxSize DefaultTipMaxSize(const wxSize& screen);

// The show delay: 1500 ms when the text was cleared at this very tick, else 150 ms.
inline constexpr int kTipShowTimer = 1000;
inline constexpr int kTipPollTimer = 1001;
inline constexpr int kTipShortDelayMs = 150;
inline constexpr int kTipLongDelayMs = 1500;
inline constexpr int kTipPollMs = 100;
inline constexpr int kTipLifeMs = 60000;
int TipShowDelayMs(long long now, long long last_clear_tick);

// Where the tip goes: 32 pixels below the anchor, centred 5 pixels right of it, kept 2 pixels
// inside the left or right screen edge, and above the anchor when it would pass the bottom.
wxRect PlaceTipRect(const wxPoint& anchor, const wxSize& tip, const wxSize& screen);

}  // namespace lq
