#include "shell/tip_status_bar.h"

#include <wx/settings.h>

namespace lq {

TTipStatusBar::TTipStatusBar(wxWindow* parent)
    : wxStatusBar(parent, wxID_ANY, wxSTB_DEFAULT_STYLE & ~wxSTB_SIZEGRIP) {
  wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  if (font.IsOk()) SetFont(font);
  // The message field takes the width; "Ready" sits in a recessed field five characters wide.
  const int ready_width = GetTextExtent("WWWWW").GetWidth() + 8;
  const int widths[] = {-1, ready_width};
  const int styles[] = {wxSB_FLAT, wxSB_SUNKEN};
  SetFieldsCount(2, widths);
  SetStatusStyles(2, styles);
  SetStatusText("Ready", 1);
}

void TTipStatusBar::SetMessageText(const std::string& text) {
  message_ = text;
  Show();
}

void TTipStatusBar::SetHint(const std::string* hint) {
  if (hint == nullptr) {
    has_hint_ = false;
    hint_status_.clear();
    tip_.clear();
  } else {
    has_hint_ = true;
    const std::size_t lf = hint->find('\n');
    hint_status_ = hint->substr(0, lf);
    tip_ = lf == std::string::npos ? std::string() : hint->substr(lf + 1);
  }
  Show();
}

void TTipStatusBar::TipsEnabled(bool on) { tips_enabled_ = on; }

std::string TTipStatusBar::ShownText() const { return has_hint_ ? hint_status_ : message_; }

void TTipStatusBar::Show() { SetStatusText(wxString::FromUTF8(ShownText()), 0); }

}  // namespace lq
