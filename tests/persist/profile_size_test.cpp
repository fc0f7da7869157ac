// A large profile file of short lines is read in memory near its own size: nothing is held
// per line. Shown by reading one in a child process whose address space is bounded.
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <fstream>
#include <string>

#include "engine/script_settings.h"
#include "persist/settings_file.h"
#include "persist/template_file.h"
#include "tests/support/temp_dir.h"

namespace lq {
namespace {

constexpr std::size_t kMiB = 1u << 20;

// The process's address space now, from /proc/self/statm (in pages).
std::size_t AddressSpace() {
  std::size_t pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// [Loomquill], then `megabytes` of "k=v" lines, then the keys read back.
std::string WriteShortLines(const test::TempDir& dir, std::size_t megabytes) {
  const std::string file = dir.File("short lines.hqd");
  std::ofstream out(file, std::ios::binary);
  out << "[Loomquill]\n";
  std::string block;
  for (int i = 0; i < 1 << 16; ++i) block += "k=v\n";
  for (std::size_t written = 0; written < megabytes * kMiB; written += block.size()) out << block;
  out << "Header=<head>\nCheckIndex=2\nSaveLocal=1\nFileOutput=/o/out.txt\n";
  return file;
}

// Runs read in a child whose address space may grow by `room` bytes at most; true when it
// returned true there.
template <typename Read>
bool ReadsWithin(std::size_t room, Read read) {
  const pid_t child = fork();
  if (child == 0) {
    const rlimit limit{AddressSpace() + room, AddressSpace() + room};
    if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(3);
    _exit(read() ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(ProfileSize, ShortLinesReadInTwiceTheFilesSize) {
  test::TempDir dir;
  constexpr std::size_t kMegabytes = 40;  // ten million lines
  const std::string file = WriteShortLines(dir, kMegabytes);
  EXPECT_TRUE(ReadsWithin(2 * kMegabytes * kMiB, [&] {
    ScriptSettings settings;
    std::string header, queue;
    return LoadTemplate(file, settings, header, queue).ok() && header == "head" &&
           settings.CheckIndex == 2 && settings.FileOutput == "/o/out.txt";
  })) << "a template of short lines";
  EXPECT_TRUE(ReadsWithin(2 * kMegabytes * kMiB, [&] {
    ScriptSettings settings;
    std::string header, queue;
    LoadSettings(file, settings, header, queue);
    return header == "head" && LoadPreviewSettings(file).Width == 0 &&
           LoadFontSettings(file).FaceName == "Arial";
  })) << "a settings file of short lines";
}

}  // namespace
}  // namespace lq
#endif
