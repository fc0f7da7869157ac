#pragma once

// What the window benchmarks share: a fresh home, the toolkit started with no window of its
// own, and the window's services faked, so nothing leaves the process and no beep sounds.

#include <chrono>
#include <filesystem>

#include "shell/shell_context.h"
#include "tests/gui/fakes/fake_beeper.h"
#include "tests/gui/fakes/fake_clipboard.h"
#include "tests/gui/fakes/fake_launcher.h"
#include "tests/gui/fakes/fake_prompts.h"
#include "tests/gui/uikit/kit_fakes.h"

namespace lq::bench {

double Ms(std::chrono::steady_clock::duration d);

// Handles what waits in the window's queue.
void Drain();

// The process's resident memory now and at its peak, in megabytes (Linux; 0 elsewhere).
double ResidentMb();
double PeakResidentMb();

class WindowBench {
 public:
  explicit WindowBench(const char* name);
  ~WindowBench();
  WindowBench(const WindowBench&) = delete;
  WindowBench& operator=(const WindowBench&) = delete;

  // Starts the toolkit; false without a display.
  bool Start(char** argv);

  ShellContext& context() { return context_; }
  FakeBeeper& beeper() { return beeper_; }
  FakePrompts& prompts() { return prompts_; }

 private:
  std::filesystem::path home_;
  bool started_ = false;
  test::KitFakes kit_;  // the clock, so that a notice passes without waiting
  FakeClipboard clipboard_;
  FakeLauncher launcher_;
  FakePrompts prompts_;
  FakeBeeper beeper_;
  ShellContext context_;
};

}  // namespace lq::bench
