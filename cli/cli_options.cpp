#include "cli/cli_options.h"

#include <charconv>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <utility>

#include "about/program_text.h"

namespace lq {

const char* const kCliUsage = ProgramMark(
    "Usage: loomquill-cli [options] [FILE...]\n"
    "Composes a text from a list of files: the main head, then for every file its header,\n"
    "its written name and its queue, then the main queue.\n"
    "\n"
    "  --template FILE.hqd      load a template first (as the Templates menu does)\n"
    "  --header TEXT            per-file header\n"
    "  --queue TEXT             per-file queue\n"
    "  --main-head TEXT         main head\n"
    "  --main-queue TEXT        main queue\n"
    "  --mode full|relative|name|none   how each name is written\n"
    "  --relpath DIR            folder for relative paths\n"
    "  --invert-slash           write every backslash as a slash\n"
    "  --escape none|shell|batch|html|url|csv|json|html-url|line\n"
    "                           escape each name for the quotes of that kind of text\n"
    "  --list FILE.lst          add the names of a list file\n"
    "  --files-from FILE|-      add names, one a line\n"
    "  -0, --null               --files-from names end with NUL (find -print0)\n"
    "  --limit N                compose only the first N names (a cheap preview)\n"
    "  -o, --output FILE|-      where to write (default -, standard output)\n"
    "  --single FILE            print the one composed line for FILE\n"
    "  --name FILE              print FILE's written name\n"
    "  --list-templates [FOLDER]  print the Templates menu that FOLDER yields (by default the\n"
    "                           program's and, after \"--\", the user's templates) and exit\n"
    "  --path-style host|windows|posix\n"
    "  --eol native|lf|crlf\n"
    "  -h, --help               print this help and exit\n"
    "  -V, --version            print the version and the license and exit\n"
    "  --                       ends the options: every later word is a FILE\n"
    "\n"
    "Variables in the texts: ZQ_DRIVE ZQ_PATH ZQ_NAME ZQ_EXT ZQ_RELPATH ZQ_GETSELINDEX\n"
    "ZQ_GETCOUNT. A name longer than 999 bytes is left out, never cut: its line is told,\n"
    "the other names are composed. An empty --files-from name is skipped and counted.\n"
    "Exit status: 0 done, 1 a name left out, nothing to compose, a file that cannot be read\n"
    "or written, or a name refused, 2 a usage error. --output FILE is replaced only when the\n"
    "whole output was written: it holds every name but those left out; when the reading\n"
    "stops, it is kept as it was, while standard output may already hold the lines before.\n");

namespace {

// The value an option's word stands for, or nothing for a word the option does not take.
template <typename T>
std::optional<T> WordValue(std::string_view word,
                           std::initializer_list<std::pair<std::string_view, T>> words) {
  for (const auto& [w, value] : words) {
    if (w == word) return value;
  }
  return std::nullopt;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine result;
  CliOptions& o = result.options;
  auto fail = [&result](std::string message) {
    result.error = std::move(message);
    return result;
  };

  bool only_files = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (only_files || arg.size() < 2 || arg[0] != '-') {
      o.files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      only_files = true;
      continue;
    }
    std::string key = arg;
    std::optional<std::string> inline_value;
    if (const std::size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
      key = arg.substr(0, eq);
      inline_value = arg.substr(eq + 1);
    } else if (arg.starts_with("-o") && arg.size() > 2) {
      // -oFILE, as getopt takes a short option's value joined to it.
      key = "-o";
      inline_value = arg.substr(2);
    }
    // A short form is its long option, by that name in every message.
    if (key == "-o") key = "--output";
    if (key == "-V") key = "--version";
    if (key == "-h") key = "--help";
    // Every option but the flags takes the next word whole, even one that begins with '-'.
    auto value = [&](std::string& out) -> bool {
      if (inline_value) {
        out = *inline_value;
        return true;
      }
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    auto flag = [&](bool& out) -> bool {
      out = true;
      return !inline_value;
    };
    std::string v;
    bool ok = true;
    if (key == "--help") {
      ok = flag(o.help);
    } else if (key == "--version") {
      ok = flag(o.version);
    } else if (key == "--invert-slash") {
      ok = flag(o.invert_slash);
    } else if (key == "--null" || key == "-0") {
      ok = flag(o.null_separated);
    } else if (key == "--list-templates") {
      o.list_templates = true;
      if (inline_value) {
        o.templates_folder = *inline_value;
      } else if (i + 1 < args.size() && !args[i + 1].starts_with("-")) {
        o.templates_folder = args[++i];
      }
    } else if (key == "--template" || key == "--header" || key == "--queue" ||
               key == "--main-head" || key == "--main-queue" || key == "--mode" ||
               key == "--relpath" || key == "--list" || key == "--files-from" ||
               key == "--output" || key == "--single" || key == "--name" || key == "--path-style" ||
               key == "--eol" || key == "--escape" || key == "--limit") {
      if (!value(v)) return fail("option '" + key + "' needs a value");
      if (key == "--template") o.template_file = v;
      if (key == "--header") o.header = v;
      if (key == "--queue") o.queue = v;
      if (key == "--main-head") o.main_head = v;
      if (key == "--main-queue") o.main_queue = v;
      if (key == "--relpath") o.relpath = v;
      if (key == "--list") o.lists.push_back(v);
      if (key == "--files-from") o.files_from.push_back(v);
      if (key == "--output") o.output = v;
      if (key == "--single") o.single = v;
      if (key == "--name") o.name = v;
      if (key == "--mode") {
        o.mode = WordValue<int>(v, {{"full", 0}, {"relative", 1}, {"name", 2}, {"none", 3}});
        if (!o.mode) return fail("--mode takes full, relative, name or none, not '" + v + "'");
      }
      if (key == "--path-style") {
        const std::optional<PathStyle> style =
            WordValue<PathStyle>(v, {{"host", HostPathStyle()},
                                     {"windows", PathStyle::Windows},
                                     {"posix", PathStyle::Posix}});
        if (!style) return fail("--path-style takes host, windows or posix, not '" + v + "'");
        o.style = *style;
      }
      if (key == "--limit") {
        long long n = -1;
        const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
        if (ec != std::errc() || end != v.data() + v.size() || n < 1) {
          return fail("--limit takes a whole number of names, at least 1, not '" + v + "'");
        }
        o.limit = n;
      }
      if (key == "--escape") {
        o.escape = EscapeKindFromWord(v);
        if (!o.escape) {
          return fail(
              "--escape takes none, shell, batch, html, url, csv, json, html-url or line, not '" +
              v + "'");
        }
      }
      if (key == "--eol") {
        const std::optional<Eol> eol =
            WordValue<Eol>(v, {{"native", NativeEol()}, {"lf", Eol::Lf}, {"crlf", Eol::CrLf}});
        if (!eol) return fail("--eol takes native, lf or crlf, not '" + v + "'");
        o.eol = *eol;
      }
    } else {
      return fail("unknown option '" + arg + "'");
    }
    if (!ok) return fail("option '" + key + "' takes no value");
  }
  if (o.single && o.name) return fail("--single and --name cannot be used together");
  if ((o.single || o.name) && (!o.files.empty() || !o.lists.empty() || !o.files_from.empty())) {
    return fail("--single and --name take their one FILE; give no other names");
  }
  return result;
}

}  // namespace lq
