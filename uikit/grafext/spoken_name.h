#pragma once

#include <string>
#include <string_view>

namespace lq {

// The design's captions and hints keep their typos on screen (stored files and users' habits
// rely on them); what a screen reader reads is spelled right.

// text with each of the design's typos spelled right; a typo made of letters is mended only
// as a whole word.
std::string SpokenName(std::string_view text);

}  // namespace lq
