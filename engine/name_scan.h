#pragma once

#include <cstddef>
#include <string_view>

namespace lq {

// What composing needs to know of a name, found in one look at it.
struct NameMarks {
  std::size_t last_separator = std::string_view::npos;  // the last '/' or separator
  std::size_t last_dot = std::string_view::npos;
  bool has_cr = false;
  bool has_z = false;
};

// Scans the size bytes at name, and no byte past them. The marks are written field by field
// into marks: a returned struct copied whole would wait on those stores.
void ScanName(const char* name, std::size_t size, char separator, NameMarks& marks);

}  // namespace lq
