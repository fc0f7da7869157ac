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
#include "platform/hand_over_message.h"
#include "platform/readable_name.h"
#include "platform/steady_clock.h"
#include "platform/wx_beeper.h"
#include "platform/wx_clipboard.h"
#include "platform/wx_prompts.h"
#include "resources/resources.h"
#include "resources/translate.h"
#include "shell/hand_over_inbox.h"
#include "shell/main_panel.h"
#include "shell/my_window.h"
#include "shell/user_locale.h"
#include "shell/wx_text.h"
#include "uikit/exten/zq_mex.h"
#include "uikit/grafext/kit_services.h"

namespace lq {
namespace {

constexpr const char* kUnsafeFolderCaption = wxTRANSLATE("Hand-over folder refused");
constexpr const char* kRefusedNameCaption = wxTRANSLATE("Cannot take this file");
// Long enough to read the reason, which names the file.
constexpr int kRefusalNoticeMs = 6000;

}  // namespace

struct TMyApp::RealServices {
  // The one clock of the program, installed as the kit's: all read it through KitClock().
  SteadyClock clock{kKitFirstTickMs};
  WxClipboard clipboard{clock};
  DesktopLauncher launcher;
  WxPrompts prompts;
  WxBeeper beeper;
};

TMyApp::TMyApp(std::vector<std::string> pending_files, std::unique_ptr<HandOverListener> listener,
               std::string hand_over_notes)
    : real_(std::make_unique<RealServices>()),
      pending_files_(std::move(pending_files)),
      listener_(std::move(listener)),
      hand_over_notes_(std::move(hand_over_notes)) {
  // Before the toolkit starts, which takes the program's name for its windows' app_id and
  // the first part of their WM_CLASS. wxGTK gives each new window the app's display name as
  // the second part: so the display name is the id too, as docks want the whole class.
  NameProgram(AppId());
  SetAppName(AppId());
  SetAppDisplayName(AppId());
  SetClassName(AppId());
  context_.services = {&real_->clipboard, &real_->launcher, &real_->prompts, &real_->beeper};
}

TMyApp::~TMyApp() = default;

bool TMyApp::OnInit() {
  InstallKitServices({.clock = &real_->clock});
  UseUserLocale();
  InitResources();
  context_.settings_file = SettingsFilePath();
  context_.program_folder = ProgramFolder();
  context_.user_templates = UserTemplateFolder();
  // The start's own files go the way of hand-overs, so that the hand-overs of starts at
  // the same moment join them.
  // The templates load once the window has shown.
  frame_ = new TMyWindow(context_, {}, SetupRest::kAfterFirstPaint);
  SetTopWindow(frame_);
  frame_->Show();
  frame_->Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& e) {
    e.Skip();
    if (e.GetEventObject() == frame_) {
      frame_ = nullptr;
      // Senders from now on are told their names were not taken.
      if (inbox_ != nullptr) inbox_->Close();
      refusal_timer_.reset();
    }
  });
  if (!hand_over_notes_.empty()) CallAfter([this] { TellAboutHandOver(); });
  if (listener_ != nullptr) hand_over_path_ = listener_->path();
  inbox_ = std::make_unique<HandOverInbox>(std::move(listener_),
                                           [this](const HandOver& joined) { Receive(joined); });
  inbox_->OnSupersededToken([](const std::string& token) { CompleteStart(token); });
  inbox_->Add({std::exchange(pending_files_, {}), {}});
  return true;
}

void TMyApp::TellAboutHandOver() {
  if (frame_ == nullptr) return;
  std::string text =
      Tr("Files opened with Loomquill reach the running window through a private folder. "
         "Passed over:\n\n") +
      hand_over_notes_ + "\n\n";
  text += !hand_over_path_.empty() ? Tr("They go through ") + hand_over_path_ + Tr(" instead.")
                                   : Tr("This window hears none of them.");
  context_.services.prompts->Message(frame_, text, Tr(kUnsafeFolderCaption),
                                     kPromptOk | kPromptIconWarning);
}

void TMyApp::Receive(const HandOver& hand_over) {
  if (frame_ == nullptr) return;
  std::vector<std::string> showable;
  std::vector<std::string> refused;
  for (const std::string& name : hand_over.names) {
    (IsValidUtf8(name) ? showable : refused).push_back(name);
  }
  if (!showable.empty()) {
    if (MainPanel* client = frame_->client()) {
      client->ReceiveFiles(showable, hand_over.activation_token);
    }
  } else {
    // Nothing to copy, but the start that sent them is over all the same.
    CompleteStart(hand_over.activation_token);
  }
  if (!refused.empty() && frame_ != nullptr) TellRefused(refused);
}

void TMyApp::TellRefused(const std::vector<std::string>& names) {
  // A few are named; a file manager's whole selection would not fit the notice.
  constexpr std::size_t kNamed = 5;
  std::string text = names.size() == 1
                         ? Tr("This file name is not valid UTF-8, so Loomquill can neither show "
                              "nor copy it:\n")
                         : std::to_string(names.size()) +
                               Tr(" file names are not valid UTF-8, so Loomquill can neither show "
                                  "nor copy them:\n");
  for (std::size_t i = 0; i < names.size() && i < kNamed; ++i) {
    text += "\n" + ReadableName(names[i]);
  }
  if (names.size() > kNamed) text += "\n...";
  const std::string caption = Tr(kRefusedNameCaption);
  // Not a message box: its event loop would hold every later hand-over behind it, nor a
  // timed ShowMex, which waits out its time. The notice stays until the timer closes it.
  ShowMex(frame_, &text, &caption, kMexIconExclamation, 0, KitClock(), context_.services.beeper);
  TZQMex* shown = CurrentMex();
  if (shown == nullptr) return;
  if (!refusal_timer_) {
    refusal_timer_ = std::make_unique<wxTimer>();
    refusal_timer_->Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
      if (CurrentMex() != nullptr) {
        ShowMex(nullptr, nullptr, nullptr, 0, 0, KitClock());
      }
    });
  }
  refusal_timer_->StartOnce(kRefusalNoticeMs);
}

int TMyApp::OnExit() {
  // Its timers are the toolkit's: gone before the toolkit is.
  inbox_.reset();
  // The clipboard's text outlives the program.
  FlushClipboardAtExit();
  return wxApp::OnExit();
}

bool TMyApp::OnExceptionInMainLoop() {
  wxString text = _("Unknown exception");
  try {
    throw;
  } catch (const std::exception& e) {
    text = FromUtf8(e.what());
  } catch (...) {
  }
  wxMessageBox(text, _("Exception ZQ"), wxOK);
  return false;
}

}  // namespace lq
