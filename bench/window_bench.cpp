#include "bench/window_bench.h"

#include <unistd.h>
#include <wx/app.h>
#include <wx/init.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "engine/script_settings.h"
#include "resources/resources.h"

namespace lq::bench {
namespace {

class BenchApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

}  // namespace

double Ms(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

void Drain() {
  while (wxTheApp->Pending()) wxTheApp->Dispatch();
  wxTheApp->ProcessIdle();
}

namespace {

double StatusMb(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key, 0) == 0) return std::atof(line.c_str() + std::strlen(key)) / 1024.0;
  }
  return 0;
}

}  // namespace

double ResidentMb() { return StatusMb("VmRSS:"); }
double PeakResidentMb() { return StatusMb("VmHWM:"); }

WindowBench::WindowBench(const char* name)
    : home_(std::filesystem::temp_directory_path() /
            (std::string(name) + "-" + std::to_string(getpid()))) {
  namespace fs = std::filesystem;
  fs::create_directories(home_ / "run");
  fs::permissions(home_ / "run", fs::perms::owner_all);
  setenv("HOME", home_.c_str(), 1);
  setenv("XDG_CONFIG_HOME", home_.c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (home_ / "run").c_str(), 1);
  kit_.UseFakeClock();
  context_.services = {&clipboard_, &launcher_, &prompts_, &beeper_};
  context_.settings_file = home_ / kSettingsFileName;
  context_.program_folder = (home_ / "program/").string();
}

WindowBench::~WindowBench() {
  if (started_) {
    wxTheApp->OnExit();
    wxEntryCleanup();
  }
  std::error_code ec;
  std::filesystem::remove_all(home_, ec);
}

bool WindowBench::Start(char** argv) {
  wxApp::SetInstance(new BenchApp);
  int wx_argc = 1;
  if (!wxEntryStart(wx_argc, argv)) return false;
  started_ = true;
  if (!wxTheApp->CallOnInit()) return false;
  InitResources();
  return true;
}

}  // namespace lq::bench
