#pragma once

#include <wx/app.h>

#include <memory>

#include "shell/shell_context.h"

namespace lq {

class TMyWindow;

// The application: the real platform services, the frame, and what happens at exit.
class TMyApp : public wxApp {
 public:
  TMyApp();
  ~TMyApp() override;

  bool OnInit() override;
  int OnExit() override;
  bool OnExceptionInMainLoop() override;

 private:
  struct RealServices;
  std::unique_ptr<RealServices> real_;
  ShellContext context_;
};

}  // namespace lq
