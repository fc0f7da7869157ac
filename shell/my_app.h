#pragma once

#include <wx/app.h>
#include <wx/timer.h>

#include <memory>
#include <string>
#include <vector>

#include "shell/shell_context.h"

namespace lq {

class HandOverInbox;
class HandOverListener;
class TMyWindow;
struct HandOver;

// The application: the real platform services, the frame, and what happens at exit.
class TMyApp : public wxApp {
 public:
  // pending_files: the files given on the command line, handled once the window is up,
  // joined with hand-overs that follow at once. listener: where hand-overs arrive (none:
  // this window hears none); hand_over_notes: why the hand-over is not where it should be,
  // told once the window is up.
  explicit TMyApp(std::vector<std::string> pending_files = {},
                  std::unique_ptr<HandOverListener> listener = nullptr,
                  std::string hand_over_notes = {});
  ~TMyApp() override;

  bool OnInit() override;
  int OnExit() override;
  bool OnExceptionInMainLoop() override;

 private:
  struct RealServices;
  void TellAboutHandOver();
  // ReceiveFiles for the names that can be shown; a notice saying why for those that cannot.
  void Receive(const HandOver& hand_over);
  // Says why names were refused in a notice that closes by itself and holds nothing up:
  // the hand-overs after it are taken while it shows.
  void TellRefused(const std::vector<std::string>& names);

  std::unique_ptr<RealServices> real_;
  ShellContext context_;
  std::vector<std::string> pending_files_;
  std::unique_ptr<HandOverListener> listener_;  // until the inbox takes it
  std::string hand_over_notes_;
  std::string hand_over_path_;
  std::unique_ptr<HandOverInbox> inbox_;
  std::unique_ptr<wxTimer> refusal_timer_;
  TMyWindow* frame_ = nullptr;
};

}  // namespace lq
