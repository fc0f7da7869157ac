#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/escape.h"
#include "engine/path_style.h"
#include "engine/result.h"

namespace lq {

// What the command line of loomquill-cli asks for, as given.
struct CliOptions {
  std::optional<std::string> template_file;
  std::optional<std::string> header;
  std::optional<std::string> queue;
  std::optional<std::string> main_head;
  std::optional<std::string> main_queue;
  std::optional<int> mode;
  std::optional<std::string> relpath;
  bool invert_slash = false;
  std::optional<EscapeKind> escape;
  bool null_separated = false;     // --files-from names end with NUL, not a line break
  std::optional<long long> limit;  // compose only the first names
  std::vector<std::string> lists;
  std::vector<std::string> files_from;
  std::optional<std::string> output;
  std::optional<std::string> single;
  std::optional<std::string> name;
  bool list_templates = false;
  std::optional<std::string> templates_folder;
  PathStyle style = HostPathStyle();
  Eol eol = NativeEol();
  bool help = false;
  bool version = false;
  std::vector<std::string> files;
};

// The options, or the usage error, whose text is the whole message.
Result<CliOptions> ParseCommandLine(const std::vector<std::string>& args);

extern const char* const kCliUsage;

}  // namespace lq
