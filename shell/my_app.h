#pragma once

#include <wx/app.h>
#include <wx/timer.h>

#include <memory>
#include <string>

#include "shell/fd_watch.h"
#include "shell/shell_context.h"

namespace lq {

class HandOverListener;
class TMyWindow;

// The application: the real platform services, the frame, and what happens at exit.
class TMyApp : public wxApp {
 public:
  // pending_file: a file given on the command line, handled once the window is up.
  // listener: where hand-overs arrive (none: this window hears none); hand_over_notes: why
  // the hand-over is not where it should be, told once the window is up.
  explicit TMyApp(std::string pending_file = {},
                  std::unique_ptr<HandOverListener> listener = nullptr,
                  std::string hand_over_notes = {});
  ~TMyApp() override;

  bool OnInit() override;
  int OnExit() override;
  bool OnExceptionInMainLoop() override;

 private:
  struct RealServices;
  // Listens for hand-overs without polling while none arrive.
  void WatchHandOver();
  void OnHandOverWaiting();
  void PollHandOver();
  void TellAboutHandOver();
  // ReceiveFile for a name that can be shown; a notice saying why for one that cannot.
  void Receive(const std::string& name, const std::string& activation_token = {});
  // Says why a name was refused in a notice that closes by itself and holds nothing up:
  // the hand-overs after it are taken while it shows.
  void TellRefused(const std::string& name);

  std::unique_ptr<RealServices> real_;
  ShellContext context_;
  std::string pending_file_;
  std::unique_ptr<HandOverListener> listener_;
  std::string hand_over_notes_;
  std::unique_ptr<FdWatch> hand_over_watch_;
  std::unique_ptr<wxTimer> hand_over_timer_;  // runs only once a sender has come
  std::unique_ptr<wxTimer> refusal_timer_;
  TMyWindow* frame_ = nullptr;
  bool receiving_ = false;
};

}  // namespace lq
