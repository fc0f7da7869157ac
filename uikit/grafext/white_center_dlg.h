#pragma once

#include <wx/dialog.h>
#include <wx/font.h>
#include <wx/menu.h>
#include <wx/panel.h>

#include <memory>
#include <string>

namespace lq {

// The base of Loomquill's dialogs: loaded from its XRC resource, light grey, in its own font,
// the "CUR_MANO" cursor over its background, dragged by any free spot of that background,
// a popup menu on a right click there, and centred on the desktop once set up. Base is
// wxDialog for a dialog of its own, or wxPanel for the main dialog, which is the client of
// the main frame (a wxDialog cannot be a frame's client).
template <typename Base>
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

  static wxColour BackgroundColour() { return wxColour(192, 192, 192); }

 protected:
  // Called at each size change of the dialog, before the default handling (the proportional
  // rescale attaches here).
  virtual void ClientResized(const wxSize&) {}

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
  void StartDrag();
  void EndDrag();

  bool loaded_ = false;
  std::string menu_name_;
  std::unique_ptr<wxMenu> menu_;
  bool right_pressed_ = false;
  wxFont initial_font_;
  wxSize initial_client_size_;
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
