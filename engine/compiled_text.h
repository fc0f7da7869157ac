#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_values.h"
#include "engine/path_style.h"

namespace lq {

// A typed text split once into literal runs and variables. The text is scanned once, left
// to right; a variable's value is never scanned, so whatever a name holds is written as it
// stands. Only the text's own line breaks are its to shape: its CRs go and each LF becomes
// the chosen line break, when it is compiled. Values keep every byte.
struct CompiledText {
  // The literal runs one after another, their line breaks already written as the eol.
  std::string literals;
  unsigned vars = 0;  // variables present; none means nothing can ever expand
  struct Segment {
    std::size_t from;  // a literal run's place in literals
    std::size_t size;
    int var;  // -1 for a literal run
  };
  std::vector<Segment> segments;
  std::size_t literal_size = 0;                           // literals.size()
  std::array<std::size_t, kVariableNames.size()> uses{};  // occurrences of each variable
};

// The text compiled, its line breaks written as eol.
CompiledText CompileText(std::string_view text, Eol eol);

// Bit mask of the variables whose names occur in text.
unsigned VariablesIn(std::string_view text);

}  // namespace lq
