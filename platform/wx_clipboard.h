#pragma once

#include <string>

#include "platform/services.h"

namespace lq {

// The desktop clipboard through wxTheClipboard, plain UTF-8 text.
class WxClipboard : public Clipboard {
 public:
  // False when the clipboard cannot be opened or the text is not valid UTF-8.
  bool SetText(const std::string& text) override;
};

// Hands what we put on the clipboard to the desktop, so it outlives the process; call once at
// application exit, while the display is still open.
void FlushClipboardAtExit();

}  // namespace lq
