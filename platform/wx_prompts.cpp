#include "platform/wx_prompts.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/fontdata.h>
#include <wx/fontdlg.h>
#include <wx/msgdlg.h>
#include <wx/progdlg.h>

#include "persist/settings_file.h"
#include "platform/wx_font.h"

namespace lq {
namespace {

constexpr long kButtonsMask = 0x0F;
constexpr long kIconMask = 0x70;

wxString FromUtf8(const std::string& text) { return wxString::FromUTF8(text.data(), text.size()); }

}  // namespace

long MessageDialogStyle(long prompt_style) {
  long style = 0;
  const bool second_default = (prompt_style & kPromptDefaultSecond) != 0;
  switch (prompt_style & kButtonsMask) {
    case kPromptOkCancel:
      style = wxOK | wxCANCEL | (second_default ? wxCANCEL_DEFAULT : 0);
      break;
    case kPromptYesNo:
      style = wxYES_NO | (second_default ? wxNO_DEFAULT : 0);
      break;
    case kPromptYesNoCancel:
      style = wxYES_NO | wxCANCEL | (second_default ? wxNO_DEFAULT : 0);
      break;
    default:
      style = wxOK;
      break;
  }
  switch (prompt_style & kIconMask) {
    case kPromptIconError:
      style |= wxICON_ERROR;
      break;
    case kPromptIconQuestion:
      style |= wxICON_QUESTION;
      break;
    case kPromptIconWarning:
      style |= wxICON_WARNING;
      break;
    case kPromptIconInfo:
      style |= wxICON_INFORMATION;
      break;
    default:
      style |= wxICON_NONE;
      break;
  }
  return style;
}

Answer AnswerFromDialogId(int id, long prompt_style) {
  const long buttons = prompt_style & kButtonsMask;
  switch (id) {
    case wxID_OK:
      return Answer::kOk;
    case wxID_YES:
      return Answer::kYes;
    case wxID_NO:
      return Answer::kNo;
    default:
      if (buttons == kPromptYesNo) return Answer::kNo;
      if (buttons == kPromptOk) return Answer::kOk;
      return Answer::kCancel;
  }
}

wxString FileDialogWildcard(const FileDialogSpec& kind) {
  const wxString pattern = wxString::FromUTF8(kind.filter_pattern);
  return wxString::FromUTF8(kind.filter_description) + " (" + pattern + ")|" + pattern;
}

long FileDialogStyle(const FileDialogSpec& kind) {
  return kind.open ? (wxFD_OPEN | wxFD_FILE_MUST_EXIST) : (wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
}

std::string WithDefaultExtension(const std::string& name, const char* extension) {
  if (extension == nullptr || *extension == '\0' || std::string_view(extension) == "*") {
    return name;
  }
  const auto slash = name.find_last_of('/');
  const auto base = slash == std::string::npos ? 0 : slash + 1;
  const auto dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > base) return name;
  return name + "." + extension;
}

Answer WxPrompts::Message(wxWindow* owner, const std::string& text, const std::string& caption,
                          long style) {
  wxMessageDialog dialog(owner, FromUtf8(text), FromUtf8(caption), MessageDialogStyle(style));
  return AnswerFromDialogId(dialog.ShowModal(), style);
}

bool WxPrompts::ChooseFile(wxWindow* owner, const FileDialogSpec& kind, std::string& name,
                           const std::string& folder) {
  // An initial name with a folder of its own starts there when no folder is given.
  const wxFileName initial(FromUtf8(name));
  const wxString start_folder = folder.empty() ? initial.GetPath() : FromUtf8(folder);
  wxFileDialog dialog(owner, wxString::FromUTF8(kind.title), start_folder, initial.GetFullName(),
                      FileDialogWildcard(kind), FileDialogStyle(kind));
  if (dialog.ShowModal() != wxID_OK) return false;
  std::string chosen = dialog.GetPath().utf8_string();
  if (!kind.open) chosen = WithDefaultExtension(chosen, kind.default_extension);
  name = chosen;
  return true;
}

bool WxPrompts::ChooseFont(wxWindow* owner, FontSettings& font, int& point_size) {
  wxFontData data;
  data.SetInitialFont(FontFromSettings(font));
  data.EnableEffects(true);
  wxFontDialog dialog(owner, data);
  if (dialog.ShowModal() != wxID_OK) return false;
  const wxFont chosen = dialog.GetFontData().GetChosenFont();
  if (!chosen.IsOk()) return false;
  FontSettings result = SettingsFromFont(chosen);
#ifdef __WXGTK__
  // The GTK font chooser offers no effects: keep the ones the font had.
  result.Underline = font.Underline;
  result.StrikeOut = font.StrikeOut;
#endif
  font = result;
  point_size = chosen.GetPointSize();
  return true;
}

namespace {

class WxProgress : public Progress {
 public:
  WxProgress(wxWindow* owner, const std::string& caption, const std::string& text)
      : dialog_(wxString::FromUTF8(caption), wxString::FromUTF8(text), 1000, owner,
                wxPD_APP_MODAL | wxPD_CAN_ABORT | wxPD_AUTO_HIDE | wxPD_ELAPSED_TIME) {}
  bool Update(int permille) override { return dialog_.Update(permille); }

 private:
  wxProgressDialog dialog_;
};

}  // namespace

std::unique_ptr<Progress> WxPrompts::StartProgress(wxWindow* owner, const std::string& caption,
                                                   const std::string& text) {
  return std::make_unique<WxProgress>(owner, caption, text);
}

}  // namespace lq
