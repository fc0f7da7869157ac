#pragma once

#include <string>
#include <string_view>

#include "engine/path_style.h"

namespace lq {

struct PathParts {
  std::string drive;      // "C:" or empty
  std::string directory;  // with leading and trailing separator: "\Music\Rock\"
  std::string name;       // without directory and extension
  std::string extension;  // with its dot: ".mp3"
};

PathParts SplitPath(std::string_view path, PathStyle style);

// The same parts as views into path, for callers that split many names.
struct PathPartViews {
  std::string_view drive;
  std::string_view directory;
  std::string_view name;
  std::string_view extension;
};
// Fills parts field by field: a caller splitting many names keeps them where they are used
// rather than copying a returned struct whose fields were just stored one by one.
void SplitPathViews(std::string_view path, PathStyle style, PathPartViews& parts);
inline PathPartViews SplitPathViews(std::string_view path, PathStyle style) {
  PathPartViews parts;
  SplitPathViews(path, style, parts);
  return parts;
}

// The path cut just after its last separator when it names a file; the whole path otherwise.
std::string DirPart(std::string_view path, PathStyle style);

// file written relative to folder, or file unchanged when no relative form is found.
std::string MakeRelativePath(std::string_view file, std::string_view folder, PathStyle style);

// A relative name of this system's own style joined to base (an absolute folder, the current
// one) and tidied, so that it can be related to an absolute folder; any other name as it is.
std::string AbsoluteForRelating(std::string_view name, std::string_view base, PathStyle style);

// Every backslash becomes a slash.
void InvertSlashes(std::string& text);

// Position of the last separator of the style, or npos.
std::size_t LastSeparator(std::string_view path, PathStyle style);

// The folder part of a name: up to and including its last separator; a name without one is
// its own folder part, as the relative folder of an output file in the current folder.
std::string FolderOf(std::string_view name, PathStyle style);

// Mode "name": everything after the last separator.
std::string_view AfterLastSeparator(std::string_view path, PathStyle style);

}  // namespace lq
