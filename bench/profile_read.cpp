// Times reading a 60 MB template of short lines, as the window and `loomquill-cli --template`
// read one, and reports the memory the process held at its peak: reading must stay linear in
// the file's size, well under a second and 100 MB.
//   bench_profile_read [MEGABYTES]
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "engine/script_settings.h"
#include "persist/settings_file.h"
#include "persist/template_file.h"

namespace fs = std::filesystem;

namespace {

// Lines of a few bytes in the template's own section, the real keys after them, written a
// block at a time so the driver itself holds little.
void WriteTemplate(const fs::path& file, std::size_t megabytes) {
  std::ofstream out(file, std::ios::binary);
  out << "[Loomquill]\n";
  std::string block;
  for (int i = 0; i < 1 << 16; ++i) block += "k=v\n";
  for (std::size_t written = 0; written < megabytes << 20; written += block.size()) out << block;
  out << "Header=<a>\nQueue=<#ZQ_BR#>\nCheckIndex=2\n";
}

long PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t megabytes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  std::random_device seed;
  const fs::path file = fs::temp_directory_path() / ("lq-bench-read-" + std::to_string(seed()));
  WriteTemplate(file, megabytes);
  const long before = PeakMegabytes();

  lq::ScriptSettings settings;
  std::string header, queue;
  const auto start = std::chrono::steady_clock::now();
  const lq::Status loaded_template = lq::LoadTemplate(file.string(), settings, header, queue);
  const auto loaded = std::chrono::steady_clock::now();
  lq::LoadSettings(file, settings, header, queue);
  lq::LoadPreviewSettings(file);
  lq::LoadFontSettings(file);
  const auto stop = std::chrono::steady_clock::now();
  std::error_code ec;
  fs::remove(file, ec);

  const auto ms = [](auto a, auto b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
  };
  std::printf(
      "profile read, %zu MB of 4-byte lines: template %.0f ms, settings (three loads) %.0f ms, "
      "peak memory %ld MB (%ld MB before reading)\n",
      megabytes, ms(start, loaded), ms(loaded, stop), PeakMegabytes(), before);
  return loaded_template.ok() && header == "a" && settings.CheckIndex == 2 ? 0 : 1;
}
