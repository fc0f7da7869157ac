#include "platform/wx_clipboard.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/eventfilter.h>
#include <wx/toplevel.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

#include "platform/compositor.h"

namespace lq {
namespace {

bool Write(const wxString& value) {
#ifdef __WXGTK__
  // wxGTK 3.2.2 offers Wayland programs no text type for what it puts on the clipboard
  // (only TIMESTAMP), so nothing can paste it: GTK's own clipboard offers every text type.
  if (OnWayland()) {
    // A compositor without a seat (a headless one) has no clipboard, and GTK would crash.
    if (gdk_display_get_default_seat(gdk_display_get_default()) == nullptr) return false;
    GtkClipboard* clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
    const wxScopedCharBuffer utf8 = value.utf8_str();
    gtk_clipboard_set_text(clipboard, utf8.data(), static_cast<gint>(utf8.length()));
    // So that a clipboard manager can keep it when the program ends.
    gtk_clipboard_set_can_store(clipboard, nullptr, 0);
    return true;
  }
#endif
  wxClipboardLocker lock;
  if (!lock) return false;
  wxTheClipboard->UsePrimarySelection(false);
  return wxTheClipboard->SetData(new wxTextDataObject(value));
}

bool AnyWindowOfOursActive() {
  for (wxWindow* window : wxTopLevelWindows) {
    auto* top = dynamic_cast<wxTopLevelWindow*>(window);
    if (top != nullptr && top->IsActive()) return true;
  }
  return false;
}

}  // namespace

// Holds the last text written without the focus and writes it at the next activation of
// any window of ours; a later write replaces it.
class WxClipboard::FocusWait : public wxEventFilter {
 public:
  explicit FocusWait(Clock& clock) : clock_(clock) { wxEvtHandler::AddFilter(this); }
  ~FocusWait() override { wxEvtHandler::RemoveFilter(this); }

  void Hold(const wxString& value) {
    held_ = value;
    held_at_ms_ = clock_.NowMs();
    holding_ = true;
  }
  void Drop() { holding_ = false; }

  int FilterEvent(wxEvent& event) override {
    if (holding_ && event.GetEventType() == wxEVT_ACTIVATE &&
        static_cast<wxActivateEvent&>(event).GetActive()) {
      holding_ = false;
      if (clock_.NowMs() - held_at_ms_ <= kHoldMs) Write(held_);
    }
    return Event_Skip;
  }

 private:
  Clock& clock_;
  wxString held_;
  long long held_at_ms_ = 0;
  bool holding_ = false;
};

WxClipboard::WxClipboard(Clock& clock) : clock_(clock) {}
WxClipboard::~WxClipboard() = default;

bool WxClipboard::SetText(const std::string& text) {
  const wxString value = wxString::FromUTF8(text.data(), text.size());
  // FromUTF8 gives an empty string for invalid input: refuse rather than empty the clipboard.
  if (value.empty() && !text.empty()) return false;
  if (OnWayland()) {
    if (!AnyWindowOfOursActive()) {
      if (focus_wait_ == nullptr) focus_wait_ = std::make_unique<FocusWait>(clock_);
      focus_wait_->Hold(value);
    } else if (focus_wait_ != nullptr) {
      focus_wait_->Drop();
    }
  }
  // Written at once all the same: X11 and other compositors take it from any program.
  return Write(value);
}

void FlushClipboardAtExit() {
  if (wxTheClipboard != nullptr) wxTheClipboard->Flush();
}

}  // namespace lq
