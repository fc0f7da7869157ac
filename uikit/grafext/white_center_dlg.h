#pragma once

#include <wx/dialog.h>
#include <wx/font.h>
#include <wx/menu.h>
#include <wx/panel.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/grafext/rescale.h"

namespace lq {

// The base of Loomquill's dialogs: loaded from its XRC resource, in the colours the desktop's
// theme gives a window (group labels clear of their frames, a focus ring on the focused
// button, check box or radio button once the keyboard moved the focus), in its own font,
// the "CUR_MANO" cursor over its background, dragged by any free spot of that background,
// a popup menu on a right click there, and centred on its owner when shown. Base is
// wxDialog for a dialog of its own, or wxPanel for the main dialog, which is the client of
// the main frame (a wxDialog cannot be a frame's client).
template <typename Base>
// The destructor overrides wxWindow's virtual one, which the check cannot see through Base.
// NOLINTNEXTLINE(cppcoreguidelines-virtual-class-destructor)
class TWhiteCenter : public Base {
 public:
  // popup_menu may be empty (no popup); font may be null (the system's GUI font).
  TWhiteCenter(wxWindow* parent, const std::string& resource, const std::string& popup_menu,
               const wxFont* font);
  ~TWhiteCenter() override;

  // Whether the dialog resource was found and loaded.
  bool loaded() const { return loaded_; }
  bool has_menu() const { return menu_ != nullptr; }
  const std::string& menu_name() const { return menu_name_; }
  // The font every control got at set-up; a rescale starts from it.
  const wxFont& initial_font() const { return initial_font_; }
  const wxSize& initial_client_size() const { return initial_client_size_; }
  // The widening factor applied at set-up (1 when it changed nothing).
  double widening() const { return widening_; }
  // The geometry store: every control that rescales, as it was at set-up.
  const std::vector<StoredControl>& geometry_store() const { return store_; }
  // The font of the last rescale (the initial font before any).
  const wxFont& current_font() const { return current_font_; }
  int rescale_count() const { return rescale_count_; }

  // Another arrangement of the same controls for a client too narrow for the resource's:
  // rectangles in dialog units, keyed by control id (or, with id -1, by label: the resource's group
  // boxes and texts), in a client of size dialog units. The rescale takes the first
  // arrangement, the resource's own first, in which every control shows whole.
  struct PlacedControl {
    int id;
    const char* label;  // for id -1 only
    wxRect units;
  };
  void AddArrangement(const std::vector<PlacedControl>& places, const wxSize& size);
  // The client the dialog takes in room of this size: the room, or more where the controls
  // need more (its holder then scrolls).
  wxSize ClientFor(const wxSize& room) const;
  // The smallest client in which every control shows whole, in the narrowest arrangement.
  wxSize SmallestClient() const;
  // Which arrangement the last rescale used: 0 for the resource's own.
  std::size_t arrangement() const { return arrangement_; }

  // The theme's window background, which the dialog and its labels are painted on.
  static wxColour BackgroundColour();

  // A dialog of its own is placed as it shows, once its size is final: centred on its
  // owner and whole on the owner's display, laid out again where that took room from it.
  bool Show(bool show = true) override;

 protected:
  // Called at each size change of the dialog, after the proportional rescale.
  virtual void ClientResized(const wxSize&) {}
  // Moves every stored control and sets the font for a client size.
  void Rescale(const wxSize& client);
  // A panel's best size is its size after set-up, so the frame fits it as it was laid out.
  wxSize DoGetBestSize() const override;

 private:
  void SetUp(const wxFont* font);
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnRightDown(wxMouseEvent& event);
  void OnRightUp(wxMouseEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnThemeChanged(wxSysColourChangedEvent& event);
  // The theme's colours on the dialog, its labels, group frames and focus rings.
  void TakeThemeColours();
  void StartDrag();
  void EndDrag();
  void Widen(double f);
  void FollowFont(const wxSize& laid_out_letter, const wxSize& font_letter);
  void HoldEveryControl();
  void FillStore();
  // What each stored control needs to show whole, in the initial font.
  void MeasureNeeds();
  void HoldAtSmallest();

  bool loaded_ = false;
  std::string menu_name_;
  std::unique_ptr<wxMenu> menu_;
  bool right_pressed_ = false;
  wxFont initial_font_;
  wxSize initial_client_size_;
  wxSize setup_size_;
  double widening_ = 1.0;
  std::vector<StoredControl> store_;
  std::vector<wxSize> needs_;
  std::vector<Arrangement> arrangements_;
  std::size_t arrangement_ = 0;
  ScaleFactors followed_{1, 1};
  std::optional<RescaleTracker> tracker_;
  wxFont current_font_;
  int rescale_count_ = 0;
  // While dragging: the pointer and the top-level window where the drag began, on screen.
  bool dragging_ = false;
  wxPoint drag_pointer_;
  wxPoint drag_window_;
};

using TWhiteCenterDlg = TWhiteCenter<wxDialog>;
using TWhiteCenterPanel = TWhiteCenter<wxPanel>;

extern template class TWhiteCenter<wxDialog>;
extern template class TWhiteCenter<wxPanel>;

}  // namespace lq
