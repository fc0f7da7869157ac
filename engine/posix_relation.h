#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/padded_text.h"

namespace lq {

// MakeRelativePath for the Posix style on views, with what it works out of the folder found
// once: the relative mode's name of a file, related to one folder (RelPath).
class PosixRelation {
 public:
  // Whether the folder is the one last set.
  bool Knows(std::string_view folder) const { return known_ && folder == folder_; }
  void SetFolder(std::string_view folder);

  // The relative form of a file: "../" climbs times, then the file from byte from on.
  struct Related {
    std::size_t climbs;
    std::size_t from;
  };
  // file (its last '/' at last_separator, npos when it has none) related to the folder;
  // all of file when no relative form is found.
  Related RelateAt(std::string_view file, std::size_t last_separator) const;
  // The same as text: a climbing result is built in out; any other is a view into file.
  std::string_view Relate(std::string_view file, std::size_t last_separator, PaddedText& out) const;

 private:
  std::string folder_;
  std::size_t dir_size_ = 0;  // the length of the folder's Posix folder part (DirPart)
  // The lengths the folder part is cut to as relating climbs: level by level, the first
  // without its last separator.
  std::vector<std::size_t> cuts_;
  bool known_ = false;
};

}  // namespace lq
