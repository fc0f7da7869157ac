#pragma once

#include <memory>
#include <string>

#include "platform/services.h"

namespace lq {

// The desktop clipboard through wxTheClipboard, plain UTF-8 text.
class WxClipboard : public Clipboard {
 public:
  // How long a text written without the focus waits for it (see SetText).
  static constexpr long long kHoldMs = 15000;

  // clock tells how long a held text has waited; it must outlive the clipboard.
  explicit WxClipboard(Clock& clock);
  ~WxClipboard() override;

  // False when the clipboard cannot be opened or the text is not valid UTF-8. Under Wayland,
  // a text written while no window of ours has the keyboard focus is written again when one
  // gets it within kHoldMs, since GNOME and KDE take the clipboard only from the focused
  // program; but never when it is the clipboard already, nor once another program has taken
  // the clipboard after it. Later than kHoldMs it is dropped as well.
  bool SetText(const std::string& text) override;

 private:
  class FocusWait;
  // The extra type a copy is offered under, to tell it from every other copy.
  std::string NextMark();

  Clock& clock_;
  long long copies_ = 0;
  std::unique_ptr<FocusWait> focus_wait_;
};

// Hands what we put on the clipboard to the desktop, so it outlives the process; call once at
// application exit, while the display is still open.
void FlushClipboardAtExit();

}  // namespace lq
