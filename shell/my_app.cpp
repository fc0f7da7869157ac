#include "shell/my_app.h"

#include <wx/msgdlg.h>

#include <exception>
#include <filesystem>

#include "persist/user_folders.h"
#include "platform/desktop_launcher.h"
#include "platform/hand_over_channel.h"
#include "platform/steady_clock.h"
#include "platform/wx_beeper.h"
#include "platform/wx_clipboard.h"
#include "platform/wx_prompts.h"
#include "resources/resources.h"
#include "shell/base_dlg.h"
#include "shell/my_window.h"
#include "shell/program_folder.h"
#include "shell/wx_text.h"

namespace lq {

struct TMyApp::RealServices {
  SteadyClock clock;
  WxClipboard clipboard;
  DesktopLauncher launcher;
  WxPrompts prompts;
  WxBeeper beeper;
};

TMyApp::TMyApp(std::string pending_file)
    : real_(std::make_unique<RealServices>()), pending_file_(std::move(pending_file)) {
  context_.services = {&real_->clock, &real_->clipboard, &real_->launcher, &real_->prompts,
                       &real_->beeper};
}

TMyApp::~TMyApp() = default;

bool TMyApp::OnInit() {
  InitResources();
  context_.settings_file = SettingsFilePath();
  context_.program_folder = ProgramFolder();
  // Listen before the window is built, so a file handed over meanwhile waits its turn.
  std::string error;
  bool other_instance = false;
  listener_ = HandOverListener::Listen(HandOverSocketPath(), &error, &other_instance);
  frame_ = new TMyWindow(context_, pending_file_);
  SetTopWindow(frame_);
  frame_->Show();
  frame_->Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& e) {
    e.Skip();
    if (e.GetEventObject() == frame_) {
      frame_ = nullptr;
      hand_over_timer_.reset();
      listener_.reset();
    }
  });
  if (listener_ != nullptr) {
    hand_over_timer_ = std::make_unique<wxTimer>();
    hand_over_timer_->Bind(wxEVT_TIMER, [this](wxTimerEvent&) { PollHandOver(); });
    hand_over_timer_->Start(50);
  }
  return true;
}

void TMyApp::PollHandOver() {
  if (receiving_ || listener_ == nullptr || frame_ == nullptr) return;
  receiving_ = true;
  listener_->Poll([this](const std::string& name) {
    if (frame_ != nullptr) frame_->client()->ReceiveFile(name);
  });
  receiving_ = false;
}

int TMyApp::OnExit() {
  // The clipboard's text outlives the program.
  FlushClipboardAtExit();
  return wxApp::OnExit();
}

bool TMyApp::OnExceptionInMainLoop() {
  wxString text = "Unknown exception";
  try {
    throw;
  } catch (const std::exception& e) {
    text = FromUtf8(e.what());
  } catch (...) {
  }
  wxMessageBox(text, "Exception ZQ", wxOK);
  return false;
}

}  // namespace lq
