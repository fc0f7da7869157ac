#include "uikit/grafext/desktop.h"

#include <wx/display.h>
#include <wx/platinfo.h>
#include <wx/toplevel.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <algorithm>
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

wxRect CenteredWithin(const wxRect& owner, const wxSize& window, const wxRect& area,
                      const wxSize& least) {
  const wxSize size(std::max(std::min(window.GetWidth(), area.GetWidth()), least.GetWidth()),
                    std::max(std::min(window.GetHeight(), area.GetHeight()), least.GetHeight()));
  const wxPoint centred = CenteredOnDesktop(owner, size);
  // Right and bottom first, so that a window larger than the area keeps its top-left in it.
  const auto within = [](int at, int length, int start, int room) {
    return std::max(std::min(at, start + room - length), start);
  };
  return {within(centred.x, size.GetWidth(), area.GetX(), area.GetWidth()),
          within(centred.y, size.GetHeight(), area.GetY(), area.GetHeight()), size.GetWidth(),
          size.GetHeight()};
}

bool CenterOnOwner(wxWindow* window) {
  if (window == nullptr || !window->IsTopLevel()) return false;
  if (OnWayland()) {
    LetCompositorPlace(window);
    return false;
  }
  wxWindow* parent = window->GetParent();
  wxWindow* owner = parent != nullptr ? wxGetTopLevelParent(parent) : nullptr;
  if (owner == nullptr || !owner->IsShown()) {
    CenterOnDesktop(window);
    return false;
  }
  const int at = wxDisplay::GetFromWindow(owner);
  const wxRect area = wxDisplay(at == wxNOT_FOUND ? 0u : static_cast<unsigned>(at)).GetClientArea();
  const wxSize before = window->GetSize();
  const wxSize least = window->GetMinSize();
  const wxRect placed =
      CenteredWithin(owner->GetRect(), before, area,
                     wxSize(std::max(least.GetWidth(), 0), std::max(least.GetHeight(), 0)));
  window->SetSize(placed);
  window->Refresh();
  return window->GetSize() != before;
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
