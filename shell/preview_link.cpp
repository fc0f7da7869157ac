#include "shell/preview_link.h"

#include <wx/display.h>
#include <wx/toplevel.h>

#include <algorithm>
#include <utility>

#include "platform/compositor.h"

namespace lq {
namespace {

constexpr int kGap = 8;

wxRect ClientAreaOf(const wxWindow* window) {
  const int at = wxDisplay::GetFromWindow(window);
  return wxDisplay(at == wxNOT_FOUND ? 0u : static_cast<unsigned>(at)).GetClientArea();
}

// Whether a stored place still lies on some display (screens come and go between runs).
bool OnSomeDisplay(const wxRect& rect) {
  for (unsigned i = 0; i < wxDisplay::GetCount(); ++i) {
    if (wxDisplay(i).GetClientArea().Intersects(rect)) return true;
  }
  return false;
}

}  // namespace

PreviewLink::PreviewLink(wxTopLevelWindow* main, std::function<Preview()> compose,
                         std::function<std::string()> output_file)
    : main_(main),
      compose_(std::move(compose)),
      output_file_(std::move(output_file)),
      typing_(kPreviewTimerId, kTypingRefreshMs, [this] { Refresh(); }) {}

PreviewLink::~PreviewLink() {
  // The preview has no parent, so that it never stays above the main window: it goes here.
  if (frame_) {
    frame_->set_on_close(nullptr);
    frame_->Destroy();
  }
}

void PreviewLink::Open(const wxFont& font) {
  // Asked for by the user, the preview comes to the front; restored at start, it opens
  // beside the main window and leaves the focus to it.
  const bool restoring = std::exchange(open_restored_, false);
  if (!frame_) {
    auto* frame = new PreviewFrame(font, Place());
    frame->set_on_close([this] { Closing(); });
    frame_ = frame;
    Refresh();
    if (restoring) {
      frame->ShowWithoutActivating();
      return;
    }
    frame->Show();
  }
  frame_->Raise();
}

void PreviewLink::Changed() {
  if (frame_) typing_.RunNow();
}

void PreviewLink::Typed() {
  if (frame_) typing_.Request();
}

void PreviewLink::Refresh() {
  if (!frame_) return;
  ++refreshes_;
  frame_->ShowPreview(compose_(), output_file_());
}

PreviewSettings PreviewLink::State() const {
  PreviewSettings state = place_;
  state.Open = IsOpen();
  if (frame_) {
    const wxRect rect = frame_->GetRect();
    // Under Wayland a window is never told where it is: the place stored by an X11 session
    // is kept for the next one, and only the size is taken.
    if (!OnWayland()) {
      state.Left = rect.x;
      state.Top = rect.y;
    }
    state.Width = rect.width;
    state.Height = rect.height;
  }
  return state;
}

void PreviewLink::Restore(const PreviewSettings& state) {
  place_ = state;
  open_restored_ = state.Open;
  place_.Open = false;
}

void PreviewLink::Closing() {
  place_ = State();
  place_.Open = false;
  typing_.Cancel();
}

wxRect PreviewLink::Place() const {
  if (place_.Placed()) {
    const wxRect stored(place_.Left, place_.Top, place_.Width, place_.Height);
    if (OnSomeDisplay(stored)) return stored;
  }
  // Beside the main window, as tall as it: on its right, else on its left, else over it.
  const wxRect main = main_->GetRect();
  const wxRect area = ClientAreaOf(main_);
  const int width = std::max(main.width, 360);
  int x = main.GetRight() + 1 + kGap;
  if (x + width > area.GetRight() + 1) {
    x = main.x - kGap - width;
    if (x < area.x) x = std::max(area.x, area.GetRight() + 1 - width);
  }
  return wxRect(x, main.y, width, main.height);
}

}  // namespace lq
