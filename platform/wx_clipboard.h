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
  // program. Later than that, the user may have copied something else since: it is dropped.
  bool SetText(const std::string& text) override;

 private:
  class FocusWait;
  Clock& clock_;
  std::unique_ptr<FocusWait> focus_wait_;
};

// Hands what we put on the clipboard to the desktop, so it outlives the process; call once at
// application exit, while the display is still open.
void FlushClipboardAtExit();

}  // namespace lq
