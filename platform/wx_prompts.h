#pragma once

#include <wx/string.h>

#include <string>

#include "platform/services.h"

namespace lq {

// Message boxes, file and font dialogs on wxWidgets.
class WxPrompts : public Prompts {
 public:
  Answer Message(wxWindow* owner, const std::string& text, const std::string& caption,
                 long style) override;
  bool ChooseFile(wxWindow* owner, const FileDialogSpec& kind, std::string& name,
                  const std::string& folder) override;
  bool ChooseFont(wxWindow* owner, FontSettings& font, int& point_size) override;
  std::unique_ptr<Progress> StartProgress(wxWindow* owner, const std::string& caption,
                                          const std::string& text) override;
};

// wxMessageDialog style for a PromptStyle.
long MessageDialogStyle(long prompt_style);
// The answer for a wxID_ returned by a message dialog shown with prompt_style; closing a
// box that has no Cancel button counts as its last button.
Answer AnswerFromDialogId(int id, long prompt_style);

// "desc (pattern)|pattern".
wxString FileDialogWildcard(const FileDialogSpec& kind);
// Open: must exist; save: asks before overwriting.
long FileDialogStyle(const FileDialogSpec& kind);
// Adds ".ext" to a chosen save name that has no extension ("*" and empty add nothing).
std::string WithDefaultExtension(const std::string& name, const char* extension);

}  // namespace lq
