#pragma once

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include <cstddef>
#include <memory>
#include <string>

#include "platform/gtk_accessible.h"
#include "uikit/grafext/mouse_lumen.h"

namespace lq {

// What every control class shares: its cursor, its popup menu, the hover hint and the
// right-button state. XRC creates the controls (subclass="TZQListBox" ...); the dialog then
// calls Setup on each.
class ControlBehaviour {
 public:
  explicit ControlBehaviour(wxWindow* owner) : owner_(owner) {}
  ~ControlBehaviour();

  // An empty name keeps the toolkit's cursor (or the arrow, with arrow_when_empty); a name
  // that names no cursor hides the pointer over the control.
  void SetCursorName(const std::string& name, bool arrow_when_empty);
  const std::string& cursor_name() const { return cursor_name_; }

  // Loads the menu resource; an empty or unknown name leaves the control without a popup.
  void SetPopupMenu(const std::string& name);
  bool has_menu() const { return menu_ != nullptr; }
  const std::string& menu_name() const { return menu_name_; }

  // Tells the parent, when it shows hints, that the pointer is over this control.
  void RaiseHint() const;
  // Opens the popup at a point of the control, on the parent, so commands go to the parent.
  void PopupAt(const wxPoint& pos_in_control) const;
  // Opens it below the control's bottom left corner, where a drop-down opens.
  void PopupBelow() const;

  // The right button went down on the control; true once when its release follows.
  void RightPressed() { right_pressed_ = true; }
  bool TakeRightRelease();

  // Tells assistive technology the control's role and its name: the caption spelled right,
  // or the hint's tooltip where there is no caption; the tooltip is its description.
  void ExposeToReaders(AccessibleRole role = AccessibleRole::kAsIs) const;

 private:
  wxWindow* owner_;
  std::string cursor_name_;
  std::string menu_name_;
  std::unique_ptr<wxMenu> menu_;
  bool right_pressed_ = false;
};

// The keys that ask for a focused control's popup: the Menu key and Shift+F10.
bool IsPopupKey(const wxKeyEvent& event);

// The pointer handling every control class shares: a move raises the control's hint and then
// its hover highlight; with right_click, the right press and its release go to the class.
template <class Base>
class KitControl : public Base {
 public:
  const ControlBehaviour& behaviour() const { return behaviour_; }
  void Setup(const std::string& cursor_name, const std::string& popup_menu) {
    behaviour_.SetCursorName(cursor_name, false);
    behaviour_.SetPopupMenu(popup_menu);
    behaviour_.ExposeToReaders(ReaderRole());
  }

 protected:
  enum class RightClick { kHandled, kNative };

  // The role a reader is told; the native control's own unless a class draws another.
  virtual AccessibleRole ReaderRole() const { return AccessibleRole::kAsIs; }

  explicit KitControl(RightClick right_click = RightClick::kHandled) {
    this->Bind(wxEVT_MOTION, &KitControl::OnMotion, this);
    if (right_click == RightClick::kNative) return;
    this->Bind(wxEVT_RIGHT_DOWN, &KitControl::OnRightDown, this);
    this->Bind(wxEVT_RIGHT_UP, &KitControl::OnRightUp, this);
  }

  // The Menu key and Shift+F10 open the control's popup below it, where it has one; the
  // toolkit's own context-menu request from the keyboard does the same. Keys of a control
  // without a popup go on as before.
  void OpenPopupFromKeys() {
    this->Bind(wxEVT_KEY_DOWN, &KitControl::OnPopupKey, this);
    this->Bind(wxEVT_CONTEXT_MENU, &KitControl::OnContextMenu, this);
  }

  // Called on every pointer move over the control, after the hint: the hover highlight.
  virtual void Hovered(wxMouseEvent&) {}
  virtual void RightPress(wxMouseEvent&) {}
  // The release of a right press that went down on the control.
  virtual void RightRelease(wxMouseEvent&) {}

  ControlBehaviour behaviour_{this};

 private:
  void OnMotion(wxMouseEvent& event) {
    behaviour_.RaiseHint();
    Hovered(event);
    event.Skip();
  }
  void OnRightDown(wxMouseEvent& event) {
    behaviour_.RightPressed();
    RightPress(event);
  }
  void OnRightUp(wxMouseEvent& event) {
    if (behaviour_.TakeRightRelease()) RightRelease(event);
  }
  void OnPopupKey(wxKeyEvent& event) {
    if (behaviour_.has_menu() && IsPopupKey(event)) {
      behaviour_.PopupBelow();
      return;
    }
    event.Skip();
  }
  void OnContextMenu(wxContextMenuEvent& event) {
    if (behaviour_.has_menu()) {
      behaviour_.PopupBelow();
      return;
    }
    event.Skip();
  }
};

// A kit control with the hover highlight of its kind.
template <class Base, LumenKind kind>
class LitControl : public KitControl<Base> {
 public:
  const TMouseLumen& lumen() const { return lumen_; }

 protected:
  using KitControl<Base>::KitControl;
  void Hovered(wxMouseEvent& event) override { lumen_.OnMove(event); }

 private:
  TMouseLumen lumen_{this, kind};
};

// A check box or radio button: a right press gives it the focus, as a left press would.
template <class Base, LumenKind kind>
class ToggleControl : public LitControl<Base, kind> {
 protected:
  ToggleControl() { this->OpenPopupFromKeys(); }
  void RightPress(wxMouseEvent&) override { this->SetFocus(); }
};

// An edit field: Esc undoes, a focused field gets a black frame (drawn by the dialog), and
// multi-line texts are handed over with CR LF line breaks. The right button keeps the
// toolkit's own menu.
class TZQEditCursor : public LitControl<wxTextCtrl, LumenKind::kEditOrCheck> {
 public:
  TZQEditCursor();
  // text_limit in bytes of the CR LF text; 0 means none.
  void Setup(std::size_t text_limit, const std::string& cursor_name);
  std::size_t text_limit() const { return text_limit_; }

  // The text with CR LF line breaks, UTF-8, cut to max_bytes without splitting a character
  // or a CR LF pair.
  std::string GetCrLfText(std::size_t max_bytes) const;
  // Fills the field from a CR LF (or LF) text; sends no change event.
  void SetCrLfText(const std::string& text);

  // The one-step undo of the Esc key: swaps the text with the one the field had when it got
  // the focus or was last filled (a second Esc redoes, as edit fields always did).
  void UndoEdit();

 private:
  void OnCharHook(wxKeyEvent& event);
  void OnFocus(wxFocusEvent& event);
  void OnText(wxCommandEvent& event);
  void RefreshFocusFrame();

  std::size_t text_limit_ = 0;
  std::string undo_text_;
  std::string last_text_;  // the text before the change being handled
  wxDECLARE_DYNAMIC_CLASS(TZQEditCursor);
};

// A check box: right click toggles it as a left click would, then opens its popup if any.
class TZQCheckBox : public ToggleControl<wxCheckBox, LumenKind::kEditOrCheck> {
 protected:
  void RightRelease(wxMouseEvent& event) override;
  wxDECLARE_DYNAMIC_CLASS(TZQCheckBox);
};

// A radio button: right click selects it as a left click would, then opens its popup if any.
// The arrows select the next or previous button of its group, wrapping at its ends, also
// from a button kept out of the Tab order, where the toolkit's own arrows stop.
class TZQRadioButton : public ToggleControl<wxRadioButton, LumenKind::kListOrRadio> {
 public:
  TZQRadioButton();

 protected:
  void RightRelease(wxMouseEvent& event) override;

 private:
  void OnArrowKey(wxKeyEvent& event);
  wxDECLARE_DYNAMIC_CLASS(TZQRadioButton);
};

// A push button: right click opens its popup, or clicks it when it has none; with the
// drop-down flag a left press opens the popup below the button instead of clicking.
// Files dropped on it go to its parent.
class TZQButton : public KitControl<wxButton> {
 public:
  TZQButton();
  void Setup(const std::string& cursor_name, const std::string& popup_menu, bool drop_down = false);
  bool drop_down() const { return drop_down_; }

 protected:
  void RightRelease(wxMouseEvent& event) override;

 private:
  void OnLeftDown(wxMouseEvent& event);
  void OnDropFiles(wxDropFilesEvent& event);

  bool drop_down_ = false;
  wxDECLARE_DYNAMIC_CLASS(TZQButton);
};

// The main dialog's buttons: a hover highlight of their own; losing the focus repaints the
// ring around them on the parent, and a repaint of their face clears the highlight.
class TAutoButton : public TZQButton {
 public:
  TAutoButton();
  const TMouseLumen& lumen() const { return lumen_; }

 protected:
  void Hovered(wxMouseEvent& event) override { lumen_.OnMove(event); }

 private:
  void OnKillFocus(wxFocusEvent& event);
  void OnEraseBackground(wxEraseEvent& event);

  TMouseLumen lumen_{this, LumenKind::kButton};
  wxDECLARE_DYNAMIC_CLASS(TAutoButton);
};

// Spells right, for assistive technology, the name of every widget in window (the tool bar's
// buttons, named by their tooltips, and the menu bar's items among them).
void SpellReaderNames(wxWindow* window);

// The hover highlight of any of the kit's controls, or null (plain buttons have none).
const TMouseLumen* LumenOf(const wxWindow* window);

}  // namespace lq
