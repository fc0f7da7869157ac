#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_values.h"

namespace lq {

// A text split once into literal runs and variables.
struct CompiledText {
  std::string body;
  unsigned vars = 0;  // variables present in body; none means nothing can ever expand
  struct Segment {
    std::size_t from;
    std::size_t size;
    int var;  // -1 for a literal run
  };
  std::vector<Segment> segments;
  bool has_cr = false;
  // A literal holds "ZQ_" or could join a value into it: the one-pass result must always
  // be checked for it.
  bool check_always = false;
  std::size_t var_names_size = 0;                         // the variables' names, all occurrences
  std::size_t literal_size = 0;                           // literals without their CRs
  std::array<std::size_t, kVariableNames.size()> uses{};  // occurrences of each variable
  // One pass gives the composed text without any check on the result.
  bool direct = false;
};

// The text compiled. With strip_cr its CRs go at once, so that those of values stay.
CompiledText CompileText(std::string_view body, bool strip_cr);

// Bit mask of the variables whose names occur in text.
unsigned VariablesIn(std::string_view text);

// Removes the CRs of text from from on.
void EraseCRsFrom(std::string& text, std::size_t from);

}  // namespace lq
