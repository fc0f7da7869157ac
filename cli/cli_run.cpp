#include "cli/cli_run.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <variant>

#include "engine/capacities.h"
#include "engine/composer.h"
#include "engine/list_file.h"
#include "engine/output.h"
#include "engine/paths.h"
#include "engine/text_file.h"
#include "engine/text_helpers.h"

namespace lq {
namespace {

namespace fs = std::filesystem;

// Thrown inside this file only, to leave a run with a message and a status.
struct Stop {
  int status;
  std::string message;
};

void Say(const std::string& message) {
  std::fprintf(stderr, "loomquill-cli: %s\n", message.c_str());
}

// A typed text: LF held as CR LF, refused when it does not fit its field.
std::string TypedText(const std::string& option, const std::string& value, std::size_t max) {
  std::string text = ToCrLf(value);
  if (text.size() > max) {
    throw Stop{kExitUsage, option + " is " + std::to_string(text.size()) +
                               " bytes long; it holds at most " + std::to_string(max)};
  }
  return text;
}

std::string CheckedName(const std::string& name, const std::string& where) {
  if (name.size() > kNameMax) {
    throw Stop{kExitFailed, where + ": a name is " + std::to_string(name.size()) +
                                " bytes long; a name holds at most " + std::to_string(kNameMax)};
  }
  return name;
}

std::string ReadSource(const std::string& path) {
  if (path == "-") {
    std::string data;
    char buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, stdin)) > 0) data.append(buf, n);
    if (std::ferror(stdin)) throw Stop{kExitFailed, "standard input: cannot be read"};
    return data;
  }
  auto content = ReadWholeFile(path, kInvalidFileCaption);
  if (auto* failure = std::get_if<Failure>(&content)) {
    throw Stop{kExitFailed, failure->Describe()};
  }
  return std::move(std::get<std::string>(content));
}

std::string WithSeparator(std::string folder, PathStyle style) {
  if (!folder.empty() && !SplitsAt(folder.back(), style)) folder.push_back(Separator(style));
  return folder;
}

std::string RelPathFor(const CliOptions& o, const ScriptSettings& s) {
  if (o.relpath) return WithSeparator(*o.relpath, o.style);
  if (o.output && *o.output != "-") {
    ScriptSettings probe = s;
    probe.FileOutput = o.style == PathStyle::Posix
                           ? fs::absolute(*o.output).lexically_normal().string()
                           : *o.output;
    probe.SetRelPathFromOutput(o.style);
    return probe.RelPath;
  }
  return WithSeparator(fs::current_path().string(), o.style);
}

void Emit(const std::string& text, const std::string& path, Eol eol) {
  TextFileWriter out(path, eol, kInvalidOutputCaption);
  if (auto failure = out.Open()) throw Stop{kExitFailed, failure->Describe()};
  out.Write(text);
  if (auto failure = out.Commit()) throw Stop{kExitFailed, failure->Describe()};
}

int Run(const CliOptions& o) {
  if (o.help) {
    std::fputs(kCliUsage, stdout);
    return kExitDone;
  }
  if (o.version) {
    std::puts("loomquill-cli 0.1.0");
    return kExitDone;
  }
  if (o.list_templates || o.template_file) {
    throw Stop{kExitUsage, "templates are not available in this build"};
  }

  ScriptSettings s;
  if (o.mode) s.CheckIndex = *o.mode;
  if (o.invert_slash) s.InvertSlash = true;
  if (o.main_head) s.MainHead = TypedText("--main-head", *o.main_head, kTextMax);
  if (o.main_queue) s.MainQueue = TypedText("--main-queue", *o.main_queue, kTextMax);
  const std::string header = o.header ? TypedText("--header", *o.header, kEditReadMax) : "";
  const std::string queue = o.queue ? TypedText("--queue", *o.queue, kEditReadMax) : "";
  s.RelPath = RelPathFor(o, s);
  const std::string output = o.output.value_or("-");

  FileList list;
  Composer composer(s, o.style, header, queue, &list);

  if (o.single || o.name) {
    std::string pending = CheckedName(o.single ? *o.single : *o.name, "FILE");
    const std::string text =
        o.single ? SingleLineText(composer, pending, Eol::Lf) : PendingNameText(composer, pending);
    Emit(text, output, o.eol);
    return kExitDone;
  }

  for (const std::string& path : o.lists) {
    if (auto failure = OpenList(list, path)) throw Stop{kExitFailed, failure->Describe()};
  }
  for (const std::string& path : o.files_from) {
    const std::string data = ReadSource(path);
    const std::string where = path == "-" ? "standard input" : path;
    for (std::string_view line : SplitLines(data))
      list.Append(CheckedName(std::string(line), where));
  }
  for (const std::string& file : o.files) list.Append(CheckedName(file, "FILE"));

  if (list.Empty()) {
    throw Stop{kExitFailed, "no files to compose (give FILE names, --list or --files-from)"};
  }
  if (auto failure = CreateOutput(composer, s, list, output, o.eol)) {
    throw Stop{kExitFailed, failure->Describe()};
  }
  return kExitDone;
}

}  // namespace

int RunCli(const CliOptions& options) {
  try {
    return Run(options);
  } catch (const Stop& stop) {
    Say(stop.message);
    return stop.status;
  } catch (const std::exception& e) {
    Say(e.what());
    return kExitFailed;
  }
}

}  // namespace lq
