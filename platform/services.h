#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/file_dialogs.h"

class wxWindow;

namespace lq {

struct FontSettings;

// Milliseconds on a monotonic clock; notices wait on it, tests drive it. The program has one,
// the kit's (KitClock() in uikit/grafext/kit_services.h), so a test that fakes it fakes the
// time of every part.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual long long NowMs() = 0;
  // Blocks the GUI thread for ms milliseconds, processing nothing.
  virtual void BusyWait(long long ms) = 0;
};

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Puts text (UTF-8) on the clipboard as plain text, replacing what was there.
  virtual bool SetText(const std::string& text) = 0;
};

class Launcher {
 public:
  virtual ~Launcher() = default;
  // Opens a document, program or web address with the desktop's default application.
  virtual bool OpenWithAssociation(const std::string& target) = 0;
  // Starts a program without a shell; each argument reaches it whole.
  virtual bool StartProgram(const std::vector<std::string>& argv) = 0;
  // Opens a file in the desktop's text editor, whatever its type.
  virtual bool OpenInTextEditor(const std::string& file) = 0;
};

// Answers of a message box.
enum class Answer { kOk, kCancel, kYes, kNo };

// Message box buttons and icons, as flags.
enum PromptStyle : long {
  kPromptOk = 0x0,
  kPromptOkCancel = 0x1,
  kPromptYesNo = 0x4,
  kPromptYesNoCancel = 0x3,
  kPromptIconInfo = 0x40,
  kPromptIconQuestion = 0x20,
  kPromptIconWarning = 0x30,
  kPromptIconError = 0x10,
  kPromptDefaultSecond = 0x100,  // the second button is the default
};

// A progress dialog with a Cancel button, shown until it is dropped.
class Progress {
 public:
  virtual ~Progress() = default;
  // Shows how far the work has come, 0 to 1000; false once the person pressed Cancel.
  virtual bool Update(int permille) = 0;
};

// Everything a person answers: message boxes, file and font dialogs, Cancel of long work.
class Prompts {
 public:
  virtual ~Prompts() = default;
  virtual Answer Message(wxWindow* owner, const std::string& text, const std::string& caption,
                         long style) = 0;
  // name holds the initial name and receives the chosen full name; folder may be empty.
  virtual bool ChooseFile(wxWindow* owner, const FileDialogSpec& dialog, std::string& name,
                          const std::string& folder) = 0;
  // font holds the initial font and receives the chosen one; point_size the chosen size.
  virtual bool ChooseFont(wxWindow* owner, FontSettings& font, int& point_size) = 0;
  virtual std::unique_ptr<Progress> StartProgress(wxWindow* owner, const std::string& caption,
                                                  const std::string& text) = 0;
};

class Beeper {
 public:
  virtual ~Beeper() = default;
  virtual void Beep() = 0;
};

// The platform services the window uses; the application owns the real ones, tests fakes.
// Time is not among them: it is the kit's clock.
struct Services {
  Clipboard* clipboard = nullptr;
  Launcher* launcher = nullptr;
  Prompts* prompts = nullptr;
  Beeper* beeper = nullptr;
};

}  // namespace lq
