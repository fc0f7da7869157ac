#include "cli/cli_run.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>
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

// Thrown inside this file only, to leave a run with a message and a status.
struct Stop {
  int status;
  std::string message;
};

void Say(const std::string& message) {
  std::fprintf(stderr, "loomquill-cli: %s\n", message.c_str());
}

// A failure as a command line program tells it, after the program's name: the file (or the
// place in it) first, then why, "names.txt: No such file or directory". The window's caption
// says what was being done, which the command line already shows.
std::string Located(const Failure& failure) {
  if (!failure.reason.empty()) return failure.text + ": " + failure.reason;
  std::string what = failure.caption;
  if (!what.empty()) what[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(what[0])));
  return what.empty() ? failure.text : failure.text + ": " + what;
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

std::string CheckedName(const std::string& name) {
  if (name.size() > kNameMax) {
    throw Stop{kExitFailed, name + ": the name is " + std::to_string(name.size()) +
                                " bytes long; a name holds at most " + std::to_string(kNameMax)};
  }
  return name;
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
void Emit(const std::string& text, const std::string& path) {
  TextFileWriter out(path, kInvalidOutputCaption);
  if (const Status opened = out.Open(); !opened.ok()) {
    throw Stop{kExitFailed, Located(opened.failure())};
  }
  out.Write(text);
  if (const Status committed = out.Commit(); !committed.ok()) {
    throw Stop{kExitFailed, Located(committed.failure())};
  }
}

// Out of the line loop: composing stopped at a name the escaping refused.
[[noreturn, gnu::cold, gnu::noinline]] void Refused(const Status& refusal) {
  throw Stop{kExitFailed, Located(refusal.failure())};
}

// Text for standard output that is all the run gives: one that did not all go out fails it.
int PutAll(const std::string& text) {
  if (const std::string why = PutStandardOutput(text); !why.empty()) {
    throw Stop{kExitFailed, "standard output: " + why};
  }
  return kExitDone;
}

// --list-templates: the menu a folder yields, with what the scan left out said after it.
int ListTemplates(const CliOptions& o) {
  const std::string program = ProgramFolder();
  const std::string folder = o.templates_folder.value_or(program.empty() ? "." : program);
  std::error_code ec;
  if (!fs::is_directory(ToPath(folder), ec)) throw Stop{kExitFailed, folder + ": not a folder"};
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
  PutAll(tree);
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
  return kExitDone;
}

// What a run composes with: the defaults, then the template, then the other options.
struct Job {
  ScriptSettings settings;
  std::string header;
  std::string queue;
};

Job ReadJob(const CliOptions& o) {
  Job job;
  ScriptSettings& s = job.settings;
  bool template_output = false;
  if (o.template_file) {
    if (const Status loaded = LoadTemplate(*o.template_file, s, job.header, job.queue, o.style);
        !loaded.ok()) {
      throw Stop{kExitFailed, Located(loaded.failure())};
    }
    // A template's stored output file only gives the folder for relative paths.
    template_output = s.SaveLocal && !s.FileOutput.empty();
  }
  if (o.mode) s.CheckIndex = *o.mode;
  if (o.invert_slash) s.InvertSlash = true;
  if (o.escape) s.Escape = *o.escape;
  if (o.main_head) s.MainHead = TypedText("--main-head", *o.main_head, kTextMax);
  if (o.main_queue) s.MainQueue = TypedText("--main-queue", *o.main_queue, kTextMax);
  if (o.header) job.header = TypedText("--header", *o.header, kEditReadMax);
  if (o.queue) job.queue = TypedText("--queue", *o.queue, kEditReadMax);
  s.RelPath = RelPathFor(o, s, template_output);
  // Quotes that do not fit the escaping are the user's to judge: said, and composed anyway.
  for (const std::string& warning : QuoteWarnings(s, job.header, job.queue)) {
    Say("warning: " + warning);
  }
  return job;
}

// --single and --name: the one text for one name.
int ComposeOne(const CliOptions& o, Composer& composer, const std::string& output) {
  std::string pending = CheckedName(o.single ? *o.single : *o.name);
  const Result<std::string> text =
      o.single ? SingleLineText(composer, pending) : PendingNameText(composer, pending);
  if (!text.ok()) throw Stop{kExitFailed, Located(text.failure())};
  Emit(text.value(), output);
  return kExitDone;
}

// Hands every name of the run's sources, in order, to add, which answers whether it wants
// more; the first that does not ends the reading, and no later source is opened. True when a
// name was left out: each is told at once, and the run fails at its end so that a script sees
// what is missing.
template <typename Add>
bool ReadSources(const CliOptions& o, Add& add, const std::function<bool()>& enough) {
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
    LineSplitter splitter(NulInLine::Cut, kNameMax, kListLineMax);
    if (const Status read =
            ForEachPiece(path, kInvalidFileCaption, splitter, add, left_out_of(path), "line");
        !read.ok()) {
      throw Stop{kExitFailed, Located(read.failure())};
    }
  }
  for (const std::string& path : o.files_from) {
    if (enough()) return left_out;
    // An empty name is no file (relative, it would name a folder above): skipped, counted.
    auto read = [&](auto& splitter, std::string_view piece) {
      Status failure =
          ForEachPiece(path, kInvalidFileCaption, splitter, add, left_out_of(path), piece);
      if (const std::size_t n = splitter.empty_names(); n > 0 && failure.ok()) {
        Say("warning: " + SourceName(path) + ": " + std::to_string(n) +
            (n == 1 ? " empty name skipped" : " empty names skipped"));
      }
      return failure;
    };
    Status failure;
    if (o.null_separated) {
      NulSplitter splitter(kNameMax, kListLineMax);
      failure = read(splitter, "name");
    } else {
      // A NUL inside a line is never cut away nor skipped: it may be a -print0 list, whose
      // names holding a line break would come apart into other names.
      LineSplitter splitter(NulInLine::Refuse, kNameMax, kListLineMax, EmptyNames::Skip);
      failure = read(splitter, "line");
      if (!failure.ok() && splitter.problem() == LineProblem::kNul) {
        failure.failure().reason += "; give --null for names separated by NUL";
      }
    }
    if (!failure.ok()) throw Stop{kExitFailed, Located(failure.failure())};
  }
  for (const std::string& file : o.files) {
    if (!add(file)) break;
  }
  return left_out;
}

// Every name of the sources composed as it is read, so memory stays flat however long the
// list is. The output is opened with the first name: no names, no output file.
int ComposeAll(const CliOptions& o, const ScriptSettings& s, Composer& composer,
               const std::string& output) {
  TextFileWriter out(output, kInvalidOutputCaption);
  OutputComposer compose(composer, s, out);
  bool opened = false;
  const long long limit = o.limit.value_or(std::numeric_limits<long long>::max());
  auto enough = [&compose, limit] { return compose.Count() >= limit; };
  auto add = [&](std::string_view name) {
    if (enough()) [[unlikely]] {
      return false;  // the first --limit names are composed; the rest is left unread
    }
    if (!opened) {
      if (const Status started = out.Open(); !started.ok())
        throw Stop{kExitFailed, Located(started.failure())};
      opened = true;
    }
    if (Status added = compose.Add(name); !added.ok()) [[unlikely]] {
      Refused(added);
    }
    return true;
  };
  // Names given whole are checked before anything is written, so a refusal never leaves
  // half an output on standard output.
  for (const std::string& file : o.files) CheckedName(file);
  const bool left_out = ReadSources(o, add, enough);
  if (!opened) {
    throw Stop{kExitFailed, "no files to compose (give FILE names, --list or --files-from)"};
  }
  if (const Status finished = compose.Finish(); !finished.ok()) Refused(finished);
  if (const Status committed = out.Commit(); !committed.ok()) {
    throw Stop{kExitFailed, Located(committed.failure())};
  }
  return left_out ? kExitFailed : kExitDone;
}

int Run(const CliOptions& o) {
  if (o.help) return PutAll(ProgramText(kCliUsage));
  if (o.version) return PutAll(VersionText("loomquill-cli"));
  if (o.list_templates) return ListTemplates(o);
  const Job job = ReadJob(o);
  Composer composer(job.settings, o.style, o.eol, job.header, job.queue);
  if (o.style == HostPathStyle()) {
    composer.SetRelativeBase(WithSeparator(ToText(fs::current_path()), o.style));
  }
  const std::string output = o.output.value_or("-");
  if (o.single || o.name) return ComposeOne(o, composer, output);
  return ComposeAll(o, job.settings, composer, output);
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
