#include "uikit/grafext/white_center_dlg.h"

#include <wx/dcclient.h>
#include <wx/menu.h>
#include <wx/settings.h>
#include <wx/textctrl.h>
#include <wx/toplevel.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include <type_traits>

#include "uikit/grafext/controls.h"
#include "uikit/grafext/desktop.h"
#include "uikit/grafext/popup.h"
#include "uikit/grafext/resource_hooks.h"

namespace lq {
namespace {

void GiveFont(wxWindow* window, const wxFont& font) {
  for (wxWindow* child : window->GetChildren()) {
    if (child->IsTopLevel()) continue;
    child->SetFont(font);
    GiveFont(child, font);
  }
}

// Controls keep their own pointer: the dialog's hand would otherwise show through the
// toolkit's controls, which have no cursor of their own. Text fields keep their I-beam.
void KeepControlCursors(wxWindow* window) {
  for (wxWindow* child : window->GetChildren()) {
    if (child->IsTopLevel()) continue;
    if (!child->GetCursor().IsOk() && dynamic_cast<wxTextCtrl*>(child) == nullptr) {
      child->SetCursor(wxCursor(wxCURSOR_ARROW));
    }
  }
}

}  // namespace

template <typename Base>
TWhiteCenter<Base>::TWhiteCenter(wxWindow* parent, const std::string& resource,
                                 const std::string& popup_menu, const wxFont* font) {
  const wxString name = wxString::FromUTF8(resource);
  if constexpr (std::is_base_of_v<wxDialog, Base>) {
    loaded_ = wxXmlResource::Get()->LoadDialog(this, parent, name);
  } else {
    loaded_ = wxXmlResource::Get()->LoadPanel(this, parent, name);
  }
  if (!loaded_) return;
  menu_ = LoadPopupMenu(popup_menu);
  if (menu_ != nullptr) menu_name_ = popup_menu;

  this->Bind(wxEVT_LEFT_DOWN, &TWhiteCenter::OnLeftDown, this);
  this->Bind(wxEVT_LEFT_UP, &TWhiteCenter::OnLeftUp, this);
  this->Bind(wxEVT_RIGHT_DOWN, &TWhiteCenter::OnRightDown, this);
  this->Bind(wxEVT_RIGHT_UP, &TWhiteCenter::OnRightUp, this);
  this->Bind(wxEVT_MOTION, &TWhiteCenter::OnMotion, this);
  this->Bind(wxEVT_MOUSE_CAPTURE_LOST, &TWhiteCenter::OnCaptureLost, this);
  this->Bind(wxEVT_PAINT, &TWhiteCenter::OnPaint, this);
  this->Bind(wxEVT_SIZE, &TWhiteCenter::OnSize, this);

  SetUp(font);
  // A dialog of its own is centred; the frame places its client.
  if (this->IsTopLevel()) CenterOnDesktop(this);
}

template <typename Base>
TWhiteCenter<Base>::~TWhiteCenter() {
  if (this->HasCapture()) this->ReleaseMouse();
}

template <typename Base>
void TWhiteCenter<Base>::SetUp(const wxFont* font) {
  initial_font_ =
      font != nullptr && font->IsOk() ? *font : wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  this->SetFont(initial_font_);
  GiveFont(this, initial_font_);
  this->SetBackgroundColour(BackgroundColour());
  this->SetCursor(LoadNamedCursor("CUR_MANO"));
  KeepControlCursors(this);
  initial_client_size_ = this->GetClientSize();
}

template <typename Base>
void TWhiteCenter<Base>::StartDrag() {
  // The whole top-level window follows the pointer, whether this dialog is it or lives in it.
  wxWindow* top = wxGetTopLevelParent(this);
  if (top == nullptr) return;
  // Screen positions of the pointer itself: event positions are relative to a window that
  // moves under them.
  drag_pointer_ = wxGetMousePosition();
  drag_window_ = top->GetPosition();
  dragging_ = true;
  if (!this->HasCapture()) this->CaptureMouse();
}

template <typename Base>
void TWhiteCenter<Base>::EndDrag() {
  dragging_ = false;
  if (this->HasCapture()) this->ReleaseMouse();
}

template <typename Base>
void TWhiteCenter<Base>::OnLeftDown(wxMouseEvent&) {
  StartDrag();
}

template <typename Base>
void TWhiteCenter<Base>::OnLeftUp(wxMouseEvent& event) {
  EndDrag();
  event.Skip();
}

template <typename Base>
void TWhiteCenter<Base>::OnMotion(wxMouseEvent& event) {
  if (dragging_) {
    if (wxWindow* top = wxGetTopLevelParent(this)) {
      top->Move(drag_window_ + (wxGetMousePosition() - drag_pointer_));
    }
    return;
  }
  event.Skip();
}

template <typename Base>
void TWhiteCenter<Base>::OnCaptureLost(wxMouseCaptureLostEvent&) {
  dragging_ = false;
}

template <typename Base>
void TWhiteCenter<Base>::OnRightDown(wxMouseEvent&) {
  right_pressed_ = true;
  // Without a popup the right button drags like the left.
  if (menu_ == nullptr) StartDrag();
}

template <typename Base>
void TWhiteCenter<Base>::OnRightUp(wxMouseEvent& event) {
  const bool was_pressed = right_pressed_;
  right_pressed_ = false;
  if (menu_ == nullptr) {
    EndDrag();
    return;
  }
  if (was_pressed) ShowPopupMenu(this, *menu_, menu_name_, event.GetPosition());
}

template <typename Base>
void TWhiteCenter<Base>::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  // The focused edit field's black frame, one pixel outside it, on the dialog.
  auto* edit = dynamic_cast<TZQEditCursor*>(this->FindFocus());
  if (edit == nullptr || edit->GetParent() != this) return;
  dc.SetPen(*wxBLACK_PEN);
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawRectangle(edit->GetRect().Inflate(1));
}

template <typename Base>
void TWhiteCenter<Base>::OnSize(wxSizeEvent& event) {
  ClientResized(this->GetClientSize());
  event.Skip();
}

template class TWhiteCenter<wxDialog>;
template class TWhiteCenter<wxPanel>;

}  // namespace lq
