#include "shell/my_app.h"

#include <wx/msgdlg.h>

#include <exception>
#include <filesystem>
#include <utility>
#include <vector>

#include "engine/escape.h"
#include "engine/program_folder.h"
#include "persist/user_folders.h"
#include "platform/app_id.h"
#include "platform/compositor.h"
#include "platform/desktop_launcher.h"
#include "platform/hand_over_channel.h"
#include "platform/readable_name.h"
#include "platform/steady_clock.h"
#include "platform/wx_beeper.h"
#include "platform/wx_clipboard.h"
#include "platform/wx_prompts.h"
#include "resources/resources.h"
#include "shell/base_dlg.h"
#include "shell/my_window.h"
#include "shell/user_locale.h"
#include "shell/wx_text.h"
#include "uikit/exten/zq_mex.h"
#include "uikit/grafext/kit_services.h"

namespace lq {
namespace {

constexpr const char* kUnsafeFolderCaption = "Hand-over folder refused";
constexpr const char* kRefusedNameCaption = "Cannot take this file";
// Long enough to read the reason, which names the file.
constexpr int kRefusalNoticeMs = 6000;
// How soon a sender that has connected but not finished writing is read again.
constexpr int kHandOverRetryMs = 50;

}  // namespace

struct TMyApp::RealServices {
  // The one clock of the program: the notices' and the kit's.
  SteadyClock clock{kKitFirstTickMs};
  WxClipboard clipboard{clock};
  DesktopLauncher launcher;
  WxPrompts prompts;
  WxBeeper beeper;
};

TMyApp::TMyApp(std::string pending_file, std::unique_ptr<HandOverListener> listener,
               std::string hand_over_notes)
    : real_(std::make_unique<RealServices>()),
      pending_file_(std::move(pending_file)),
      listener_(std::move(listener)),
      hand_over_notes_(std::move(hand_over_notes)) {
  // Before the toolkit starts, which takes the program's name for its windows' app_id and
  // the first part of their WM_CLASS. wxGTK gives each new window the app's display name as
  // the second part: so the display name is the id too, as docks want the whole class.
  NameProgram(AppId());
  SetAppName(AppId());
  SetAppDisplayName(AppId());
  SetClassName(AppId());
  context_.services = {&real_->clock, &real_->clipboard, &real_->launcher, &real_->prompts,
                       &real_->beeper};
}

TMyApp::~TMyApp() = default;

bool TMyApp::OnInit() {
  InstallKitServices({.clock = &real_->clock});
  UseUserLocale();
  InitResources();
  context_.settings_file = SettingsFilePath();
  context_.program_folder = ProgramFolder();
  // A name that cannot be shown is refused once the window is up, never handled silently.
  std::string refused;
  if (!IsValidUtf8(pending_file_)) refused.swap(pending_file_);
  frame_ = new TMyWindow(context_, pending_file_);
  SetTopWindow(frame_);
  frame_->Show();
  frame_->Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& e) {
    e.Skip();
    if (e.GetEventObject() == frame_) {
      frame_ = nullptr;
      // Paused, not freed: the window may go while a hand-over is being handled.
      if (hand_over_watch_ != nullptr) hand_over_watch_->Pause();
      hand_over_timer_.reset();
      refusal_timer_.reset();
      listener_.reset();
    }
  });
  if (!hand_over_notes_.empty()) CallAfter([this] { TellAboutHandOver(); });
  if (!refused.empty()) CallAfter([this, refused] { Receive(refused); });
  if (listener_ != nullptr) {
    hand_over_timer_ = std::make_unique<wxTimer>();
    hand_over_timer_->Bind(wxEVT_TIMER, [this](wxTimerEvent&) { PollHandOver(); });
    WatchHandOver();
  }
  return true;
}

void TMyApp::TellAboutHandOver() {
  if (frame_ == nullptr) return;
  std::string text =
      "Files opened with Loomquill reach the running window through a private folder. "
      "Passed over:\n\n" +
      hand_over_notes_ + "\n\n";
  text += listener_ != nullptr ? "They go through " + listener_->path() + " instead."
                               : "This window hears none of them.";
  context_.services.prompts->Message(frame_, text, kUnsafeFolderCaption,
                                     kPromptOk | kPromptIconWarning);
}

void TMyApp::Receive(const std::string& name, const std::string& activation_token) {
  if (frame_ == nullptr) return;
  if (IsValidUtf8(name)) {
    if (BaseDlg* client = frame_->client()) client->ReceiveFile(name, activation_token);
    return;
  }
  TellRefused(name);
}

void TMyApp::TellRefused(const std::string& name) {
  const std::string text =
      "This file name is not valid UTF-8, so Loomquill can neither show nor copy it:\n\n" +
      ReadableName(name);
  const std::string caption = kRefusedNameCaption;
  // Not a message box: its event loop would hold every later hand-over behind it, nor a
  // timed ShowMex, which waits out its time. The notice stays until the timer closes it.
  ShowMex(frame_, &text, &caption, kMexIconExclamation, 0, *context_.services.clock,
          context_.services.beeper);
  TZQMex* shown = CurrentMex();
  if (shown == nullptr) return;
  if (!refusal_timer_) {
    refusal_timer_ = std::make_unique<wxTimer>();
    refusal_timer_->Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
      if (CurrentMex() != nullptr) {
        ShowMex(nullptr, nullptr, nullptr, 0, 0, *context_.services.clock);
      }
    });
  }
  refusal_timer_->StartOnce(kRefusalNoticeMs);
}

void TMyApp::WatchHandOver() {
  if (listener_ == nullptr || frame_ == nullptr) return;
  // A sender still writing: read again shortly.
  if (listener_->reading()) {
    hand_over_timer_->StartOnce(kHandOverRetryMs);
    return;
  }
  if (hand_over_watch_ == nullptr) {
    hand_over_watch_ = std::make_unique<FdWatch>(listener_->fd(), [this] { OnHandOverWaiting(); });
  } else {
    hand_over_watch_->Resume();
  }
  // Without a watch, look every so often as before.
  if (!hand_over_watch_->ok()) hand_over_timer_->StartOnce(kHandOverRetryMs);
}

void TMyApp::OnHandOverWaiting() {
  // Taken from the timer, never from inside whatever loop the socket woke: handling shows
  // notices, and a notice shown inside another's drawing would never close.
  hand_over_watch_->Pause();
  if (!hand_over_timer_->IsRunning()) hand_over_timer_->StartOnce(kHandOverRetryMs);
}

void TMyApp::PollHandOver() {
  if (listener_ == nullptr || frame_ == nullptr) return;
  if (receiving_) {
    // The earlier hand-overs' notices run the event loop: look again once they are done.
    hand_over_timer_->StartOnce(kHandOverRetryMs);
    return;
  }
  receiving_ = true;
  // Taken first and handled after: handling shows notices, which run the event loop.
  std::vector<std::pair<std::string, std::string>> hand_overs;
  listener_->Poll([&hand_overs](const std::string& name, const std::string& token) {
    hand_overs.emplace_back(name, token);
  });
  for (const auto& [name, token] : hand_overs) Receive(name, token);
  receiving_ = false;
  WatchHandOver();
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
