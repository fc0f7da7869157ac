#include "uikit/grafext/desktop.h"

#include <wx/display.h>
#include <wx/platinfo.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <array>
#include <cstring>
#include <string_view>

#include "engine/text_helpers.h"
#include "platform/compositor.h"

namespace lq {
namespace {

constexpr std::size_t kResBufferSize = 501;
// The load keeps 499 characters including the terminator.
constexpr std::size_t kResLoadMax = 498;

}  // namespace

wxPoint CenteredOnDesktop(const wxRect& desktop, const wxSize& window) {
  const int x = static_cast<int>((desktop.GetWidth() - window.GetWidth()) / 2.0);
  const int y = static_cast<int>((desktop.GetHeight() - window.GetHeight()) / 2.0);
  return {desktop.GetX() + x, desktop.GetY() + y};
}

void CenterOnDesktop(wxWindow* window) {
  if (window == nullptr) return;
  // A Wayland compositor ignores a move by code and the toolkit would then believe the place
  // asked for: the compositor places the window itself.
  if (window->IsTopLevel() && OnWayland()) {
    LetCompositorPlace(window);
    window->Refresh();
    return;
  }
  const wxRect desktop = wxDisplay(0u).GetGeometry();
  wxPoint pos = CenteredOnDesktop(desktop, window->GetSize());
  // A child moves in its parent's client coordinates.
  if (!window->IsTopLevel() && window->GetParent() != nullptr) {
    pos = window->GetParent()->ScreenToClient(pos);
  }
  window->Move(pos);
  window->Refresh();
}

bool CopyTextToClipboard(Clipboard& clipboard, const std::string& text) {
  return clipboard.SetText(text);
}

bool IsCursorOver(const wxWindow* window, const wxPoint& screen_point) {
  if (window == nullptr) return false;
  return window->GetScreenRect().Contains(screen_point);
}

bool IsCursorOver(const wxWindow* window) { return IsCursorOver(window, wxGetMousePosition()); }

const char* LoadResString(int id, StringTableFn table) {
  static std::array<std::array<char, kResBufferSize>, 2> buffers{};
  static int next = 0;
  char* buffer = buffers[next].data();
  next ^= 1;
  const std::string_view text =
      CutUtf8View(table != nullptr ? table(id) : std::string_view(), kResLoadMax);
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
  return buffer;
}

const char* LoadResString(int id) { return LoadResString(id, KitStrings()); }

double WindowsVersionNumber() {
  static const double version = [] {
    const wxPlatformInfo& info = wxPlatformInfo::Get();
    return info.GetToolkitMajorVersion() + info.GetToolkitMinorVersion() / 100.0;
  }();
  return version;
}

}  // namespace lq
