#include "shell/my_app.h"

#include <wx/msgdlg.h>

#include <exception>
#include <filesystem>

#include "persist/user_folders.h"
#include "platform/desktop_launcher.h"
#include "platform/steady_clock.h"
#include "platform/wx_beeper.h"
#include "platform/wx_clipboard.h"
#include "platform/wx_prompts.h"
#include "resources/resources.h"
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

TMyApp::TMyApp() : real_(std::make_unique<RealServices>()) {
  context_.services = {&real_->clock, &real_->clipboard, &real_->launcher, &real_->prompts,
                       &real_->beeper};
}

TMyApp::~TMyApp() = default;

bool TMyApp::OnInit() {
  InitResources();
  context_.settings_file = SettingsFilePath();
  context_.program_folder = ProgramFolder();
  std::string pending;
  if (argc > 1) {
    std::error_code ec;
    const std::filesystem::path given(ToUtf8(argv[1]));
    const std::filesystem::path absolute = std::filesystem::absolute(given, ec);
    pending = (ec ? given : absolute).string();
  }
  auto* frame = new TMyWindow(context_, pending);
  SetTopWindow(frame);
  frame->Show();
  return true;
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
