#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace lq {

// A stretch of a text view's text in one colour: its length in bytes of the UTF-8 text.
struct ColouredRun {
  std::size_t bytes = 0;
  unsigned char red = 0;
  unsigned char green = 0;
  unsigned char blue = 0;
};

// Replaces all the text of a GTK text view (a multi-line wxTextCtrl's GetHandle(), the
// scrolled window around it) with text in one insertion, and colours it run by run. Filling
// the view through wxWidgets took the text through wide characters and back, piece by piece:
// half a megabyte of long lines cost more than a refresh may. False, changing nothing, when
// widget holds no GTK text view, text is not valid UTF-8 or the runs do not cover it. Not
// for a frozen wxTextCtrl, whose view holds a stand-in buffer meanwhile.
bool FillTextView(void* widget, const std::string& text, const std::vector<ColouredRun>& runs);
// The same, but adds text at the end of what the view holds.
bool AppendTextView(void* widget, const std::string& text, const std::vector<ColouredRun>& runs);

}  // namespace lq
