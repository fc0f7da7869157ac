#include "shell/start_options.h"

#include <string_view>

#include "about/program_text.h"

namespace lq {

StartOptions ReadStartOptions(int argc, const char* const* argv) {
  StartOptions options;
  bool names_only = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (!names_only) {
      if (word == "--") {
        names_only = true;
        continue;
      }
      if (word == "--help" || word == "-h") {
        options.help = true;
        continue;
      }
      if (word == "--version" || word == "-V") {
        options.version = true;
        continue;
      }
    }
    options.files.emplace_back(word);
  }
  return options;
}

std::string StartHelpText() {
  return ProgramText(
      "Usage: loomquill [OPTION]... [FILE]...\n"
      "Turn a list of files into a script, a playlist or any text.\n"
      "\n"
      "Without FILE, open a new window. With FILEs while Loomquill runs, hand them to the\n"
      "running window, which copies their names or composed lines to the clipboard, and\n"
      "end; with no Loomquill running, open a window that does the same once it is up.\n"
      "\n"
      "  -h, --help     print this help and exit\n"
      "  -V, --version  print the version and the license and exit\n"
      "  --             take every later argument as a FILE, even one that begins with '-'\n"
      "\n"
      "Exit status: 0 when the window was closed or the help or version was printed,\n"
      "1 when no FILE could be taken or handed over, 255 when the FILEs were handed over.\n"
      "\n"
      "loomquill-cli composes the same texts from the shell; see loomquill-cli --help.\n");
}

}  // namespace lq
