#pragma once

#include <wx/app.h>
#include <wx/timer.h>

#include <memory>
#include <string>

#include "shell/shell_context.h"

namespace lq {

class HandOverListener;
class TMyWindow;

// The application: the real platform services, the frame, and what happens at exit.
class TMyApp : public wxApp {
 public:
  // pending_file: a file given on the command line, handled once the window is up.
  explicit TMyApp(std::string pending_file = {});
  ~TMyApp() override;

  bool OnInit() override;
  int OnExit() override;
  bool OnExceptionInMainLoop() override;

 private:
  struct RealServices;
  void PollHandOver();

  std::unique_ptr<RealServices> real_;
  ShellContext context_;
  std::string pending_file_;
  std::unique_ptr<HandOverListener> listener_;
  std::unique_ptr<wxTimer> hand_over_timer_;
  TMyWindow* frame_ = nullptr;
  bool receiving_ = false;
};

}  // namespace lq
