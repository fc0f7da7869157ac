// Times the template scan over 300 templates in 30 sub-folders: the menu is built while
// the window starts, so it must stay well under 100 ms. Then the scan of "/" that
// loomquill-cli --list-templates / makes.
//   bench_template_scan [RUNS]
#include "persist/template_scan.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// 30 sub-folders of 10 templates each, with a few non-template files beside them.
fs::path MakeTree() {
  std::random_device seed;
  const fs::path root = fs::temp_directory_path() / ("lq-bench-scan-" + std::to_string(seed()));
  for (int f = 0; f < 30; ++f) {
    const fs::path folder = root / ("Folder " + std::to_string(f));
    fs::create_directories(folder);
    std::ofstream(folder / "readme.txt") << "not a template\n";
    for (int t = 0; t < 10; ++t) {
      std::ofstream(folder / ("template " + std::to_string(t) + ".hqd"))
          << "[Loomquill]\nHeader=<>\nQueue=<#ZQ_BR#>\n";
    }
  }
  return root;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  const fs::path root = MakeTree();
  std::vector<double> ms;
  std::size_t shown = 0, skipped = 0;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const lq::TemplatesMenu menu = lq::BuildTemplatesMenu(root);
    const auto stop = std::chrono::steady_clock::now();
    ms.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    shown = menu.FullNames.size();
    skipped = menu.Skipped;
  }
  std::error_code ec;
  fs::remove_all(root, ec);
  std::sort(ms.begin(), ms.end());
  std::printf(
      "template scan, 300 templates in 30 folders: median %.3f ms, min %.3f, max %.3f "
      "over %d runs (%zu items, %zu beyond the last id)\n",
      ms[ms.size() / 2], ms.front(), ms.back(), runs, shown, skipped);
  // loomquill-cli --list-templates / : its bounds make the walk of every folder short.
  const auto start = std::chrono::steady_clock::now();
  const lq::TemplatesMenu whole = lq::BuildTemplatesMenu(
      "/", ".hqd", lq::kFirstTemplateId, lq::kLastTemplateId, lq::kListTemplatesBounds);
  const auto stop = std::chrono::steady_clock::now();
  std::printf(
      "template scan of / with --list-templates' bounds: %.1f ms (%s, %zu folders on "
      "other file systems passed)\n",
      std::chrono::duration<double, std::milli>(stop - start).count(),
      whole.CutAt.empty() ? "all folders" : "cut", whole.OtherFileSystems);
  return shown + skipped == 300 ? 0 : 1;
}
