#include "cli/cli_run.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <string>

#include "about/about_text.h"
#include "about/program_text.h"
#include "engine/capacities.h"
#include "engine/composer.h"
#include "engine/failure.h"
#include "engine/list_reader.h"
#include "engine/output.h"
#include "engine/path_text.h"
#include "engine/paths.h"
#include "engine/program_folder.h"
#include "engine/quote_check.h"
#include "engine/result.h"
#include "engine/text_file.h"
#include "engine/text_helpers.h"
#include "persist/template_file.h"
#include "persist/template_scan.h"
#include "persist/user_folders.h"

namespace lq {
namespace {

namespace fs = std::filesystem;

void Say(const std::string& message) {
  std::fprintf(stderr, "loomquill-cli: %s\n", message.c_str());
}

// A failure as a command line program tells it, after the program's name: the file (or the
// place in it) first, then why, "names.txt: No such file or directory". The window's caption
// says what was being done, which the command line already shows. A failure of the command
// line's own is its text alone.
std::string Located(const Failure& failure) {
  if (!failure.reason.empty()) return failure.text + ": " + failure.reason;
  std::string what = failure.caption;
  if (!what.empty()) what[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(what[0])));
  return what.empty() ? failure.text : failure.text + ": " + what;
}

// How a run ends: its exit status, a failure said first.
int Ended(const Status& status, int failed_status = kExitFailed) {
  if (status.ok()) return kExitDone;
  Say(Located(status.failure()));
  return failed_status;
}
int Ended(const Result<int>& run) {
  if (run.ok()) return run.value();
  return Ended(run.status());
}

// A typed text: LF held as CR LF, refused when it does not fit its field.
Result<std::string> TypedText(const std::string& option, const std::string& value,
                              std::size_t max) {
  std::string text = ToCrLf(value);
  if (text.size() > max) {
    return Failure{option + " is " + std::to_string(text.size()) +
                       " bytes long; it holds at most " + std::to_string(max),
                   {},
                   {}};
  }
  return text;
}

Status CheckName(const std::string& name) {
  if (name.size() > kNameMax) {
    return Failure{name,
                   {},
                   "the name is " + std::to_string(name.size()) +
                       " bytes long; a name holds at most " + std::to_string(kNameMax)};
  }
  return {};
}

std::string WithSeparator(std::string folder, PathStyle style) {
  if (!folder.empty() && !SplitsAt(folder.back(), style)) folder.push_back(Separator(style));
  return folder;
}

// Names and the folder are related in one form: absolute from the current folder.
std::string AbsoluteFolder(const std::string& folder, PathStyle style) {
  if (style != HostPathStyle() || folder.empty()) return folder;
  return ToText(fs::absolute(ToPath(folder)).lexically_normal());
}

std::string RelPathFor(const CliOptions& o, const ScriptSettings& s, bool template_output) {
  if (o.relpath) return WithSeparator(AbsoluteFolder(*o.relpath, o.style), o.style);
  ScriptSettings probe = s;
  if (o.output && *o.output != "-") {
    probe.FileOutput = o.style == HostPathStyle()
                           ? ToText(fs::absolute(ToPath(*o.output)).lexically_normal())
                           : *o.output;
  } else if (!template_output) {
    return WithSeparator(ToText(fs::current_path()), o.style);
  }
  probe.SetRelPathFromOutput(o.style);
  return probe.RelPath;
}

// Composed text goes out byte for byte: its line breaks are already --eol's.
Status Emit(const std::string& text, const std::string& path) {
  TextFileWriter out(path, kInvalidOutputCaption);
  if (Status opened = out.Open(); !opened.ok()) return opened;
  out.Write(text);
  return out.Commit();
}

// Out of the line loop: composing stopped at a name the escaping refused.
[[gnu::cold, gnu::noinline]] bool Stopped(Status& stopped, Status refusal) {
  stopped = std::move(refusal);
  return false;
}

// --list-templates: the menu a folder yields, with what the scan left out said after it.
Status ListTemplates(const CliOptions& o) {
  const std::string program = ProgramFolder();
  const std::string folder = o.templates_folder.value_or(program.empty() ? "." : program);
  std::error_code ec;
  if (!fs::is_directory(ToPath(folder), ec)) return Failure{folder, {}, "not a folder"};
  TemplatesMenu menu = BuildTemplatesMenu(ToPath(folder), ".hqd", kFirstTemplateId, kLastTemplateId,
                                          kListTemplatesBounds);
  // Without FOLDER, the menu the window shows: the user's own templates follow, after the
  // line "--" where the window draws its separator.
  const fs::path user = UserTemplateFolder();
  if (!o.templates_folder && fs::is_directory(user, ec)) AppendTemplatesMenu(menu, user);
  std::string tree = FormatTemplateTree(menu);
  if (menu.AppendedAt < menu.Entries.size()) {
    TemplatesMenu shipped = menu;
    shipped.Entries.resize(menu.AppendedAt);
    const std::string head = FormatTemplateTree(shipped);
    tree = head + "--\n" + tree.substr(head.size());
  }
  if (Status put = PutStandardOutput(tree); !put.ok()) return put;
  if (!menu.CutAt.empty()) {
    Say("warning: the scan stopped after " + std::to_string(kListTemplatesBounds.max_folders) +
        " folders: " + menu.CutAt + " and the folders after it were not scanned");
  }
  if (menu.OtherFileSystems > 0) {
    Say("warning: " + std::to_string(menu.OtherFileSystems) +
        " folders on other file systems were not entered, the first " + menu.FirstOtherFileSystem);
  }
  if (menu.Skipped > 0) {
    Say(std::to_string(menu.Skipped) + " templates left out: the menu holds " +
        std::to_string(kLastTemplateId - kFirstTemplateId + 1));
  }
  return {};
}

// What a run composes with: the defaults, then the template, then the other options.
struct Job {
  ScriptSettings settings;
  std::string header;
  std::string queue;
  bool template_output = false;  // the template stores an output file
};

// The defaults, then the template, when one is given.
Result<Job> ReadTemplate(const CliOptions& o) {
  Job job;
  if (o.template_file) {
    ScriptSettings& s = job.settings;
    if (Status loaded = LoadTemplate(*o.template_file, s, job.header, job.queue, o.style);
        !loaded.ok()) {
      return std::move(loaded).failure();
    }
    // A template's stored output file only gives the folder for relative paths.
    job.template_output = s.SaveLocal && !s.FileOutput.empty();
  }
  return job;
}

// The other options over the template. Fails only on a typed text longer than its field,
// which is a usage error.
Status TakeOptions(const CliOptions& o, Job& job) {
  ScriptSettings& s = job.settings;
  if (o.mode) s.CheckIndex = *o.mode;
  if (o.invert_slash) s.InvertSlash = true;
  if (o.escape) s.Escape = *o.escape;
  const struct {
    const std::optional<std::string>& given;
    const char* option;
    std::size_t max;
    std::string& field;
  } typed[] = {
      {o.main_head, "--main-head", kTextMax, s.MainHead},
      {o.main_queue, "--main-queue", kTextMax, s.MainQueue},
      {o.header, "--header", kEditReadMax, job.header},
      {o.queue, "--queue", kEditReadMax, job.queue},
  };
  for (const auto& t : typed) {
    if (!t.given) continue;
    Result<std::string> text = TypedText(t.option, *t.given, t.max);
    if (!text.ok()) return std::move(text).failure();
    t.field = std::move(text).value();
  }
  s.RelPath = RelPathFor(o, s, job.template_output);
  // Quotes that do not fit the escaping are the user's to judge: said, and composed anyway.
  for (const std::string& warning : QuoteWarnings(s, job.header, job.queue)) {
    Say("warning: " + warning);
  }
  return {};
}

// --single and --name: the one text for one name.
Status ComposeOne(const CliOptions& o, Composer& composer, const std::string& output) {
  std::string pending = o.single ? *o.single : *o.name;
  if (Status checked = CheckName(pending); !checked.ok()) return checked;
  Result<std::string> text =
      o.single ? SingleLineText(composer, pending) : PendingNameText(composer, pending);
  if (!text.ok()) return std::move(text).failure();
  return Emit(text.value(), output);
}

// Hands every name of the run's sources, in order, to add, which answers whether it wants
// more; the first that does not ends the reading, and no later source is opened. add that
// fails leaves its failure in stopped and answers no; the reading then ends as it is, with
// nothing more said. True when a name was left out: each is told at once, and the run fails
// at its end so that a script sees what is missing.
template <typename Add>
Result<bool> ReadSources(const CliOptions& o, Add& add, const std::function<bool()>& enough,
                         const Status& stopped) {
  bool left_out = false;
  auto left_out_of = [&left_out](const std::string& path) {
    return [&left_out, &path](std::size_t number, LineProblem why) {
      Say(PlaceOf(path, number) + ": " + LeftOutReason(why, kNameMax));
      left_out = true;
    };
  };
  for (const std::string& path : o.lists) {
    if (enough()) return left_out;
    // A line that does not end within kListLineMax stops the reading, so even /dev/zero is
    // read in bounded time and memory.
    LineSplitter splitter(NulInLine::kCut, kNameMax, kListLineMax);
    Status read = ForEachPiece(path, kInvalidFileCaption, splitter, add, left_out_of(path), "line");
    if (!stopped.ok()) return stopped.failure();
    if (!read.ok()) return std::move(read).failure();
  }
  for (const std::string& path : o.files_from) {
    if (enough()) return left_out;
    // An empty name is no file (relative, it would name a folder above): skipped, counted.
    auto read_with = [&](auto& splitter, std::string_view piece) {
      Status read =
          ForEachPiece(path, kInvalidFileCaption, splitter, add, left_out_of(path), piece);
      if (const std::size_t n = splitter.empty_names(); n > 0 && read.ok() && stopped.ok()) {
        Say("warning: " + SourceName(path) + ": " + std::to_string(n) +
            (n == 1 ? " empty name skipped" : " empty names skipped"));
      }
      return read;
    };
    Status read;
    if (o.null_separated) {
      NulSplitter splitter(kNameMax, kListLineMax);
      read = read_with(splitter, "name");
    } else {
      // A NUL inside a line is never cut away nor skipped: it may be a -print0 list, whose
      // names holding a line break would come apart into other names.
      LineSplitter splitter(NulInLine::kRefuse, kNameMax, kListLineMax, EmptyNames::kSkip);
      read = read_with(splitter, "line");
      if (!read.ok() && splitter.problem() == LineProblem::kNul) {
        read.failure().reason += "; give --null for names separated by NUL";
      }
    }
    if (!stopped.ok()) return stopped.failure();
    if (!read.ok()) return std::move(read).failure();
  }
  for (const std::string& file : o.files) {
    if (!add(file)) break;
  }
  return left_out;
}

// Every name of the sources composed as it is read, so memory stays flat however long the
// list is. The output is opened with the first name: no names, no output file.
// The exit status: done, or failed when a name was left out.
Result<int> ComposeAll(const CliOptions& o, const ScriptSettings& s, Composer& composer,
                       const std::string& output) {
  TextFileWriter out(output, kInvalidOutputCaption);
  OutputComposer compose(composer, s, out);
  bool opened = false;
  Status stopped;  // why add took no more
  const long long limit = o.limit.value_or(std::numeric_limits<long long>::max());
  // A failed add answers no, so the reading ends with the source it is in.
  auto enough = [&compose, limit] { return compose.Count() >= limit; };
  auto add = [&](std::string_view name) {
    if (enough()) [[unlikely]] {
      return false;  // the first --limit names are composed; the rest is left unread
    }
    if (!opened) [[unlikely]] {
      stopped = out.Open();
      if (!stopped.ok()) return false;
      opened = true;
    }
    if (Status added = compose.Add(name); !added.ok()) [[unlikely]] {
      return Stopped(stopped, std::move(added));
    }
    return true;
  };
  // Names given whole are checked before anything is written, so a refusal never leaves
  // half an output on standard output.
  for (const std::string& file : o.files) {
    if (Status checked = CheckName(file); !checked.ok()) return std::move(checked).failure();
  }
  const Result<bool> left_out = ReadSources(o, add, enough, stopped);
  if (!left_out.ok()) return left_out.failure();
  if (!stopped.ok()) return std::move(stopped).failure();
  if (!opened)
    return Failure{"no files to compose (give FILE names, --list or --files-from)", {}, {}};
  if (Status finished = compose.Finish(); !finished.ok()) return std::move(finished).failure();
  if (Status committed = out.Commit(); !committed.ok()) return std::move(committed).failure();
  return left_out.value() ? kExitFailed : kExitDone;
}

int Run(const CliOptions& o) {
  if (o.help) return Ended(PutStandardOutput(ProgramText(kCliUsage)));
  if (o.version) return Ended(PutStandardOutput(VersionText("loomquill-cli")));
  if (o.list_templates) return Ended(ListTemplates(o));
  Result<Job> read = ReadTemplate(o);
  if (!read.ok()) return Ended(read.status());
  Job& job = read.value();
  if (Status taken = TakeOptions(o, job); !taken.ok()) return Ended(taken, kExitUsage);
  Composer composer(job.settings, o.style, o.eol, job.header, job.queue);
  if (o.style == HostPathStyle()) {
    composer.SetRelativeBase(WithSeparator(ToText(fs::current_path()), o.style));
  }
  const std::string output = o.output.value_or("-");
  if (o.single || o.name) return Ended(ComposeOne(o, composer, output));
  return Ended(ComposeAll(o, job.settings, composer, output));
}

}  // namespace

int RunCli(const CliOptions& options) {
  // Failures come back as results; only what no step can answer (memory running out, a
  // current folder gone) arrives as an exception.
  try {
    return Run(options);
  } catch (const std::exception& e) {
    Say(e.what());
    return kExitFailed;
  }
}

}  // namespace lq
