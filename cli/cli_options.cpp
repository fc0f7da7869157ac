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

// An option as typed: the option it names, a short form by its long name (so that every
// message names it so), and a value joined to it by '=' (or to -o directly), if any.
struct OptionWord {
  std::string key;
  std::optional<std::string> joined;
};

OptionWord ReadOptionWord(const std::string& arg) {
  OptionWord word{arg, std::nullopt};
  if (const std::size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
    word = {arg.substr(0, eq), arg.substr(eq + 1)};
  } else if (arg.starts_with("-o") && arg.size() > 2) {
    word = {"-o", arg.substr(2)};  // -oFILE, as getopt takes a short option's value joined to it
  }
  if (word.key == "-o") word.key = "--output";
  if (word.key == "-V") word.key = "--version";
  if (word.key == "-h") word.key = "--help";
  if (word.key == "-0") word.key = "--null";
  return word;
}

// The options that take no value.
bool* FlagOf(std::string_view key, CliOptions& o) {
  if (key == "--help") return &o.help;
  if (key == "--version") return &o.version;
  if (key == "--invert-slash") return &o.invert_slash;
  if (key == "--null") return &o.null_separated;
  return nullptr;
}

// A usage error: its text is the whole message.
Failure Usage(std::string message) { return Failure{std::move(message), {}, {}}; }

// An option that takes a value: it keeps the value, or fails with a usage error for a value
// it does not take.
struct ValueOption {
  std::string_view key;
  Status (*take)(const std::string& value, CliOptions& o);
};

// The options whose value is kept as given, and those given once for each value.
template <auto member>
Status Keep(const std::string& value, CliOptions& o) {
  o.*member = value;
  return {};
}
template <auto member>
Status Add(const std::string& value, CliOptions& o) {
  (o.*member).push_back(value);
  return {};
}

constexpr ValueOption kValueOptions[] = {
    {"--template", Keep<&CliOptions::template_file>},
    {"--header", Keep<&CliOptions::header>},
    {"--queue", Keep<&CliOptions::queue>},
    {"--main-head", Keep<&CliOptions::main_head>},
    {"--main-queue", Keep<&CliOptions::main_queue>},
    {"--relpath", Keep<&CliOptions::relpath>},
    {"--list", Add<&CliOptions::lists>},
    {"--files-from", Add<&CliOptions::files_from>},
    {"--output", Keep<&CliOptions::output>},
    {"--single", Keep<&CliOptions::single>},
    {"--name", Keep<&CliOptions::name>},
    {"--mode",
     [](const std::string& v, CliOptions& o) {
       o.mode = WordValue<int>(v, {{"full", 0}, {"relative", 1}, {"name", 2}, {"none", 3}});
       if (!o.mode)
         return Status(Usage("--mode takes full, relative, name or none, not '" + v + "'"));
       return Status();
     }},
    {"--path-style",
     [](const std::string& v, CliOptions& o) {
       const std::optional<PathStyle> style =
           WordValue<PathStyle>(v, {{"host", HostPathStyle()},
                                    {"windows", PathStyle::kWindows},
                                    {"posix", PathStyle::kPosix}});
       if (!style)
         return Status(Usage("--path-style takes host, windows or posix, not '" + v + "'"));
       o.style = *style;
       return Status();
     }},
    {"--eol",
     [](const std::string& v, CliOptions& o) {
       const std::optional<Eol> eol =
           WordValue<Eol>(v, {{"native", NativeEol()}, {"lf", Eol::kLf}, {"crlf", Eol::kCrLf}});
       if (!eol) return Status(Usage("--eol takes native, lf or crlf, not '" + v + "'"));
       o.eol = *eol;
       return Status();
     }},
    {"--escape",
     [](const std::string& v, CliOptions& o) {
       o.escape = EscapeKindFromWord(v);
       if (!o.escape) {
         return Status(Usage(
             "--escape takes none, shell, batch, html, url, csv, json, html-url or line, not '" +
             v + "'"));
       }
       return Status();
     }},
    {"--limit",
     [](const std::string& v, CliOptions& o) {
       long long n = -1;
       const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
       if (ec != std::errc() || end != v.data() + v.size() || n < 1) {
         return Status(Usage("--limit takes a whole number of names, at least 1, not '" + v + "'"));
       }
       o.limit = n;
       return Status();
     }},
};

const ValueOption* ValueOptionOf(std::string_view key) {
  for (const ValueOption& option : kValueOptions) {
    if (option.key == key) return &option;
  }
  return nullptr;
}

// Options that each make sense alone but not together.
Status CheckClashes(const CliOptions& o) {
  if (o.single && o.name) return Usage("--single and --name cannot be used together");
  if ((o.single || o.name) && (!o.files.empty() || !o.lists.empty() || !o.files_from.empty())) {
    return Usage("--single and --name take their one FILE; give no other names");
  }
  return {};
}

}  // namespace

Result<CliOptions> ParseCommandLine(const std::vector<std::string>& args) {
  CliOptions o;
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
    const OptionWord word = ReadOptionWord(arg);
    if (bool* flag = FlagOf(word.key, o)) {
      if (word.joined) return Usage("option '" + word.key + "' takes no value");
      *flag = true;
    } else if (word.key == "--list-templates") {
      // Its folder is optional: a next word that is an option is not taken for it.
      o.list_templates = true;
      if (word.joined) {
        o.templates_folder = *word.joined;
      } else if (i + 1 < args.size() && !args[i + 1].starts_with("-")) {
        o.templates_folder = args[++i];
      }
    } else if (const ValueOption* option = ValueOptionOf(word.key)) {
      // The next word is the value whole, even one that begins with '-'.
      if (!word.joined && i + 1 >= args.size()) {
        return Usage("option '" + word.key + "' needs a value");
      }
      const std::string& value = word.joined ? *word.joined : args[++i];
      if (Status taken = option->take(value, o); !taken.ok()) return std::move(taken).failure();
    } else {
      return Usage("unknown option '" + arg + "'");
    }
  }
  if (Status clash = CheckClashes(o); !clash.ok()) return std::move(clash).failure();
  return o;
}

}  // namespace lq
