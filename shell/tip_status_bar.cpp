#include "shell/tip_status_bar.h"

#include <wx/settings.h>

#include "resources/translate.h"
#include "shell/wx_text.h"
#include "uikit/tooltip/tip_logic.h"
#include "uikit/tooltip/zq_tooltip.h"

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
  SetStatusText(_("Ready"), 1);

  if (TipInstance() == nullptr) {
    const wxFont tip_font = TToolTipFont();
    new ZQTToolTip(parent, &tip_font);
    owns_tip_ = true;
  }
  tip_window_ = TipInstance();
  PublishTipsEnabled(&tips_enabled_);
}

TTipStatusBar::~TTipStatusBar() {
  // The hook must never read a flag that is gone.
  if (PublishedTipsEnabled() == &tips_enabled_) PublishTipsEnabled(nullptr);
  if (owns_tip_) {
    if (ZQTToolTip* tip = tip_window_.get()) tip->Destroy();
    SetTipInstance(nullptr);
  }
}

void TTipStatusBar::SetMessageText(const std::string& text) {
  message_ = text;
  ShowHint();
}

void TTipStatusBar::SetHint(const std::string* hint) {
  ZQTToolTip* tip = tip_window_.get();
  if (hint == nullptr) {
    if (tip != nullptr) tip->SetTipText(nullptr);
    has_hint_ = false;
    hint_status_.clear();
    tip_.clear();
  } else {
    HintParts parts = SplitHint(*hint);
    has_hint_ = true;
    hint_status_ = std::move(parts.status);
    tip_ = std::move(parts.tip);
    if (tips_enabled_ && tip != nullptr) tip->SetTipText(&tip_);
  }
  ShowHint();
}

void TTipStatusBar::SetHintAnchor(const wxPoint& screen_point) {
  anchor_ = screen_point;
  lq::SetHintAnchor(screen_point);
}

void TTipStatusBar::TipsEnabled(bool on) { tips_enabled_ = on; }

std::string TTipStatusBar::ShownText() const { return has_hint_ ? hint_status_ : message_; }

void TTipStatusBar::ShowHint() { SetStatusText(FromUtf8(ShownText()), 0); }

}  // namespace lq
