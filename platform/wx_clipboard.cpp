#include "platform/wx_clipboard.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>

namespace lq {

bool WxClipboard::SetText(const std::string& text) {
  const wxString value = wxString::FromUTF8(text.data(), text.size());
  // FromUTF8 gives an empty string for invalid input: refuse rather than empty the clipboard.
  if (value.empty() && !text.empty()) return false;
  wxClipboardLocker lock;
  if (!lock) return false;
  wxTheClipboard->UsePrimarySelection(false);
  return wxTheClipboard->SetData(new wxTextDataObject(value));
}

void FlushClipboardAtExit() {
  if (wxTheClipboard != nullptr) wxTheClipboard->Flush();
}

}  // namespace lq
