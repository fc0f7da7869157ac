#pragma once

#include <string>
#include <vector>

namespace lq {

// What a start of `loomquill` asks for. Its arguments are file names, as a file manager hands
// them over; only the exact words below are options, so that any other name that begins with
// "-" still reaches the window, and "--" makes even these names files.
struct StartOptions {
  bool help = false;
  bool version = false;
  std::vector<std::string> files;  // as given, in order
};

StartOptions ReadStartOptions(int argc, const char* const* argv);

// What `loomquill --help` prints.
std::string StartHelpText();

}  // namespace lq
