#pragma once

#include <cstddef>
#include <string_view>

namespace lq {

// Where a name's last component begins, found in one look at its last 32 bytes.
struct TailMarks {
  std::size_t separator;  // the last separator
  std::size_t dot;        // the last '.' after it, or npos
  unsigned found;         // after the separator: bit 0 set for x, bit 1 for y
};

// Looks for the last a or b and, after it, the last '.' and any x and y among the last 32
// bytes of name, without a branch per byte. False when name is shorter or holds no separator
// there: the caller then looks the usual way.
bool FindTail(std::string_view name, char a, char b, char x, char y, TailMarks& marks);

// Which of a and b occur in name from from on: bit 0 set for a, bit 1 for b. A short end of
// a long name is looked at in one step.
unsigned FindInTail(std::string_view name, std::size_t from, char a, char b);

}  // namespace lq
