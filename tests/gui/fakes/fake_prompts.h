#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "engine/file_dialogs.h"
#include "persist/settings_file.h"
#include "platform/services.h"

namespace lq {

// Scripted answers, recorded questions. An empty script answers message boxes with
// default_answer and cancels file and font dialogs.
class FakePrompts : public Prompts {
 public:
  struct MessageCall {
    std::string text;
    std::string caption;
    long style;
  };
  struct FileCall {
    FileDialogSpec kind;
    std::string initial_name;
    std::string folder;
  };
  struct FontAnswer {
    FontSettings font;
    int point_size;
  };

  Answer Message(wxWindow* owner, const std::string& text, const std::string& caption,
                 long style) override;
  bool ChooseFile(wxWindow* owner, const FileDialogSpec& kind, std::string& name,
                  const std::string& folder) override;
  bool ChooseFont(wxWindow* owner, FontSettings& font, int& point_size) override;
  // A progress dialog whose Cancel is pressed at the update cancel_at (counted from 1 over
  // all dialogs); 0 never presses it.
  std::unique_ptr<Progress> StartProgress(wxWindow* owner, const std::string& caption,
                                          const std::string& text) override;

  std::deque<Answer> answers;
  Answer default_answer = Answer::kOk;
  std::deque<std::optional<std::string>> file_answers;  // nullopt: the user cancels
  std::deque<std::optional<FontAnswer>> font_answers;   // nullopt: the user cancels

  std::vector<MessageCall> messages;
  std::vector<FileCall> file_dialogs;
  std::vector<FontSettings> font_dialogs;     // the initial font of each
  std::vector<std::string> progress_dialogs;  // the caption of each
  std::vector<int> progress_updates;          // every value shown, in order
  std::size_t cancel_at = 0;
};

}  // namespace lq
