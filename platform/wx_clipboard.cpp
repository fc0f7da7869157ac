#include "platform/wx_clipboard.h"

#include <unistd.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/eventfilter.h>
#include <wx/toplevel.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>

#ifdef __WXGTK__
#include <gdk/gdkwayland.h>
#include <gtk/gtk.h>
#include <wayland-client.h>
#endif

#include "platform/compositor.h"

namespace lq {
namespace {

// What became of one text put on the Wayland clipboard.
struct Copy {
  // The extra type it is offered under, which tells it from every other copy.
  std::string mark;
  // The compositor cancelled it in reply to the write itself: it never was the clipboard.
  bool refused = false;
  // Someone else took the clipboard after it was there.
  bool taken = false;
};

#ifdef __WXGTK__
// What GTK serves from a copy while it is the clipboard.
struct Served {
  std::string text;
  std::shared_ptr<Copy> copy;
};

constexpr guint kTextInfo = 0;
constexpr guint kMarkInfo = 1;

void ServeCopy(GtkClipboard*, GtkSelectionData* data, guint info, gpointer served) {
  const std::string& text = static_cast<Served*>(served)->text;
  if (info == kTextInfo) {
    gtk_selection_data_set_text(data, text.data(), static_cast<gint>(text.size()));
  } else {
    gtk_selection_data_set(data, gtk_selection_data_get_target(data), 8, nullptr, 0);
  }
}

// GTK calls this once the copy is no longer ours: another program took the clipboard (the
// compositor cancelled our source), or we wrote again.
void EndCopy(GtkClipboard*, gpointer served) {
  auto* ended = static_cast<Served*>(served);
  if (!ended->copy->refused) ended->copy->taken = true;
  delete ended;
}

// Puts text on GTK's own clipboard, offered under every text type and the copy's mark.
bool WriteWayland(const wxString& value, const std::shared_ptr<Copy>& copy) {
  GtkClipboard* clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
  GtkTargetList* list = gtk_target_list_new(nullptr, 0);
  gtk_target_list_add_text_targets(list, kTextInfo);
  gtk_target_list_add(list, gdk_atom_intern(copy->mark.c_str(), FALSE), 0, kMarkInfo);
  gint count = 0;
  GtkTargetEntry* targets = gtk_target_table_new_from_list(list, &count);
  gtk_target_list_unref(list);
  const wxScopedCharBuffer utf8 = value.utf8_str();
  auto* served = new Served{std::string(utf8.data(), utf8.length()), copy};
  const bool set = gtk_clipboard_set_with_data(clipboard, targets, static_cast<guint>(count),
                                               ServeCopy, EndCopy, served) != FALSE;
  gtk_target_table_free(targets, count);
  if (!set) {
    delete served;
    return false;
  }
  // So that a clipboard manager can keep it when the program ends.
  gtk_clipboard_set_can_store(clipboard, nullptr, 0);
  return true;
}

// Which copy the compositor offers as the clipboard, seen through a data device of our own
// (GTK keeps the offers it gets to itself). The compositor tells only the focused program.
class SelectionWatch {
 public:
  static constexpr const char* kMarkPrefix = "application/x-loomquill-copy-";

  SelectionWatch() {
    GdkDisplay* gdk_display = gdk_display_get_default();
    display_ = gdk_wayland_display_get_wl_display(gdk_display);
    GdkSeat* gdk_seat = gdk_display_get_default_seat(gdk_display);
    wl_seat* seat = gdk_seat != nullptr ? gdk_wayland_seat_get_wl_seat(gdk_seat) : nullptr;
    queue_ = wl_display_create_queue(display_);
    auto* wrapped = static_cast<wl_display*>(wl_proxy_create_wrapper(display_));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapped), queue_);
    registry_ = wl_display_get_registry(wrapped);
    wl_proxy_wrapper_destroy(wrapped);
    static const wl_registry_listener registry_listener = {&SelectionWatch::Global,
                                                           [](void*, wl_registry*, uint32_t) {}};
    wl_registry_add_listener(registry_, &registry_listener, this);
    wl_display_roundtrip_queue(display_, queue_);
    if (manager_ != nullptr && seat != nullptr) {
      device_ = wl_data_device_manager_get_data_device(manager_, seat);
      static const wl_data_device_listener device_listener = {
          &SelectionWatch::NewOffer,
          [](void*, wl_data_device*, uint32_t, wl_surface*, wl_fixed_t, wl_fixed_t,
             wl_data_offer*) {},
          [](void* watch, wl_data_device*) { static_cast<SelectionWatch*>(watch)->KeepOnly(); },
          [](void*, wl_data_device*, uint32_t, wl_fixed_t, wl_fixed_t) {},
          [](void* watch, wl_data_device*) { static_cast<SelectionWatch*>(watch)->KeepOnly(); },
          &SelectionWatch::Selection};
      wl_data_device_add_listener(device_, &device_listener, this);
    }
  }
  ~SelectionWatch() {
    // Once the display is closed, so are our objects on it.
    if (gdk_display_get_default() == nullptr) return;
    selection_ = nullptr;
    KeepOnly();
    if (device_ != nullptr) {
      if (wl_data_device_get_version(device_) >= WL_DATA_DEVICE_RELEASE_SINCE_VERSION) {
        wl_data_device_release(device_);
      } else {
        wl_data_device_destroy(device_);
      }
    }
    if (manager_ != nullptr) wl_data_device_manager_destroy(manager_);
    wl_registry_destroy(registry_);
    wl_event_queue_destroy(queue_);
  }
  SelectionWatch(const SelectionWatch&) = delete;
  SelectionWatch& operator=(const SelectionWatch&) = delete;

  // Whether the clipboard the compositor offers now is the copy with this mark; false also
  // when that cannot be known.
  bool Offers(const std::string& mark) {
    if (device_ == nullptr) return false;
    // The compositor sent the clipboard along with the focus: take in all it has sent.
    wl_display_roundtrip_queue(display_, queue_);
    const auto found = offers_.find(selection_);
    return found != offers_.end() && found->second == mark;
  }

 private:
  static void Global(void* watch, wl_registry* registry, uint32_t name, const char* interface,
                     uint32_t version) {
    auto* self = static_cast<SelectionWatch*>(watch);
    if (self->manager_ != nullptr ||
        std::strcmp(interface, wl_data_device_manager_interface.name) != 0)
      return;
    // Version 3 is what GTK 3 asks for: its device has the events listened to here.
    self->manager_ = static_cast<wl_data_device_manager*>(wl_registry_bind(
        registry, name, &wl_data_device_manager_interface, std::min<uint32_t>(version, 3)));
  }
  static void NewOffer(void* watch, wl_data_device*, wl_data_offer* offer) {
    auto* self = static_cast<SelectionWatch*>(watch);
    self->offers_[offer];
    static const wl_data_offer_listener offer_listener = {&SelectionWatch::OfferType,
                                                          [](void*, wl_data_offer*, uint32_t) {},
                                                          [](void*, wl_data_offer*, uint32_t) {}};
    wl_data_offer_add_listener(offer, &offer_listener, self);
  }
  static void OfferType(void* watch, wl_data_offer* offer, const char* type) {
    auto* self = static_cast<SelectionWatch*>(watch);
    if (std::strncmp(type, kMarkPrefix, std::strlen(kMarkPrefix)) == 0) self->offers_[offer] = type;
  }
  static void Selection(void* watch, wl_data_device*, wl_data_offer* offer) {
    auto* self = static_cast<SelectionWatch*>(watch);
    self->selection_ = offer;
    self->KeepOnly();
  }
  // Lets go of every offer but the clipboard's: drags' offers end with the drag.
  void KeepOnly() {
    for (auto it = offers_.begin(); it != offers_.end();) {
      if (it->first == selection_) {
        ++it;
      } else {
        wl_data_offer_destroy(it->first);
        it = offers_.erase(it);
      }
    }
  }

  wl_display* display_ = nullptr;
  wl_event_queue* queue_ = nullptr;
  wl_registry* registry_ = nullptr;
  wl_data_device_manager* manager_ = nullptr;
  wl_data_device* device_ = nullptr;
  // Each offer the compositor made us, with the copy mark it carries (empty for none).
  std::map<wl_data_offer*, std::string> offers_;
  wl_data_offer* selection_ = nullptr;
};
#endif

bool Write(const wxString& value, const std::shared_ptr<Copy>& copy) {
#ifdef __WXGTK__
  // wxGTK 3.2.2 offers Wayland programs no text type for what it puts on the clipboard
  // (only TIMESTAMP), so nothing can paste it: GTK's own clipboard offers every text type.
  if (OnWayland()) {
    // A compositor without a seat (a headless one) has no clipboard, and GTK would crash.
    if (gdk_display_get_default_seat(gdk_display_get_default()) == nullptr) return false;
    return WriteWayland(value, copy);
  }
#else
  (void)copy;
#endif
  wxClipboardLocker lock;
  if (!lock) return false;
  wxTheClipboard->UsePrimarySelection(false);
  return wxTheClipboard->SetData(new wxTextDataObject(value));
}

// Whether the compositor turned the last write down at once, as GNOME's does to a program
// without the focus: it cancels our source, and GTK no longer owns the clipboard.
bool RefusedAtOnce() {
#ifdef __WXGTK__
  GdkDisplay* display = gdk_display_get_default();
  gdk_display_sync(display);
  return gdk_selection_owner_get_for_display(display, GDK_SELECTION_CLIPBOARD) == nullptr;
#else
  return false;
#endif
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
// any window of ours, unless it is the clipboard already or someone else has copied since;
// a later write replaces it.
class WxClipboard::FocusWait : public wxEventFilter {
 public:
  // next_mark names each copy apart from every other.
  FocusWait(Clock& clock, std::function<std::string()> next_mark)
      : clock_(clock), next_mark_(std::move(next_mark)) {
    wxEvtHandler::AddFilter(this);
  }
  ~FocusWait() override { wxEvtHandler::RemoveFilter(this); }

  void Hold(const wxString& value, const std::shared_ptr<Copy>& copy) {
    held_ = value;
    copy_ = copy;
    held_at_ms_ = clock_.NowMs();
  }
  void Drop() { copy_.reset(); }

  int FilterEvent(wxEvent& event) override {
    if (copy_ != nullptr && event.GetEventType() == wxEVT_ACTIVATE &&
        static_cast<wxActivateEvent&>(event).GetActive()) {
      const std::shared_ptr<Copy> copy = std::move(copy_);
      if (!copy->taken && clock_.NowMs() - held_at_ms_ <= kHoldMs && !Landed(*copy)) {
        Write(held_, std::make_shared<Copy>(Copy{next_mark_()}));
      }
    }
    return Event_Skip;
  }

 private:
  bool Landed(const Copy& copy) {
#ifdef __WXGTK__
    if (copy.refused) return false;
    // Made for this one look and gone after it: while it lasts, drags over our windows are
    // offered to it as well.
    return SelectionWatch().Offers(copy.mark);
#else
    (void)copy;
    return false;
#endif
  }

  Clock& clock_;
  std::function<std::string()> next_mark_;
  wxString held_;
  std::shared_ptr<Copy> copy_;
  long long held_at_ms_ = 0;
};

WxClipboard::WxClipboard(Clock& clock) : clock_(clock) {}
WxClipboard::~WxClipboard() = default;

std::string WxClipboard::NextMark() {
#ifdef __WXGTK__
  return SelectionWatch::kMarkPrefix + std::to_string(getpid()) + "-" + std::to_string(++copies_);
#else
  return {};
#endif
}

bool WxClipboard::SetText(const std::string& text) {
  const wxString value = wxString::FromUTF8(text.data(), text.size());
  // FromUTF8 gives an empty string for invalid input: refuse rather than empty the clipboard.
  if (value.empty() && !text.empty()) return false;
  // Written at once all the same: X11 and other compositors take it from any program.
  auto copy = std::make_shared<Copy>(Copy{NextMark()});
  const bool written = Write(value, copy);
  if (OnWayland()) {
    if (!AnyWindowOfOursActive()) {
      if (focus_wait_ == nullptr) {
        focus_wait_ = std::make_unique<FocusWait>(clock_, [this] { return NextMark(); });
      }
      copy->refused = !written || RefusedAtOnce();
      focus_wait_->Hold(value, copy);
    } else if (focus_wait_ != nullptr) {
      focus_wait_->Drop();
    }
  }
  return written;
}

void FlushClipboardAtExit() {
  if (wxTheClipboard != nullptr) wxTheClipboard->Flush();
}

}  // namespace lq
