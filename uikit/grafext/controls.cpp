#include "uikit/grafext/controls.h"

#include <wx/control.h>
#include <wx/menu.h>

#include <algorithm>

#include "engine/text_helpers.h"
#include "uikit/grafext/hint_sink.h"
#include "uikit/grafext/kit_services.h"
#include "uikit/grafext/popup.h"
#include "uikit/grafext/spoken_name.h"
#include "uikit/grafext/zq_list_box.h"
#include "uikit/tooltip/tip_logic.h"

namespace lq {

wxIMPLEMENT_DYNAMIC_CLASS(TZQEditCursor, wxTextCtrl);
wxIMPLEMENT_DYNAMIC_CLASS(TZQCheckBox, wxCheckBox);
wxIMPLEMENT_DYNAMIC_CLASS(TZQRadioButton, wxRadioButton);
wxIMPLEMENT_DYNAMIC_CLASS(TZQButton, wxButton);
wxIMPLEMENT_DYNAMIC_CLASS(TAutoButton, TZQButton);

namespace {

// Sends the command event a click on the control would send.
void SendCommand(wxControl* control, wxEventType type, int value) {
  wxCommandEvent event(type, control->GetId());
  event.SetEventObject(control);
  event.SetInt(value);
  control->ProcessWindowEvent(event);
}

// The button an arrow moves to from from: the next or previous shown and enabled one of its
// group, wrapping at the group's ends; from itself when there is none.
wxRadioButton* Neighbour(wxRadioButton* from, bool forward) {
  wxRadioButton* at = from;
  for (;;) {
    wxRadioButton* next = forward ? at->GetNextInGroup() : at->GetPreviousInGroup();
    if (next == nullptr) next = forward ? at->GetFirstInGroup() : at->GetLastInGroup();
    if (next == nullptr || next == from) return from;
    if (next->IsShown() && next->IsEnabled()) return next;
    at = next;
  }
}

// CR LF pairs become LF; a lone CR stays.
std::string LfFromCrLf(const std::string& text) {
  std::string lf;
  lf.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    lf.push_back(text[i]);
  }
  return lf;
}

}  // namespace

// ControlBehaviour

ControlBehaviour::~ControlBehaviour() = default;

void ControlBehaviour::SetCursorName(const std::string& name, bool arrow_when_empty) {
  cursor_name_ = name;
  if (!name.empty()) {
    owner_->SetCursor(LoadNamedCursor(name));
  } else if (arrow_when_empty) {
    owner_->SetCursor(wxCursor(wxCURSOR_ARROW));
  } else {
    owner_->SetCursor(wxNullCursor);
  }
}

void ControlBehaviour::SetPopupMenu(const std::string& name) {
  menu_ = LoadPopupMenu(name);
  menu_name_ = menu_ != nullptr ? name : std::string();
}

void ControlBehaviour::RaiseHint() const {
  if (auto* sink = dynamic_cast<HintSink*>(owner_->GetParent())) {
    const int id = owner_->GetId();
    sink->MenuItemHint(id > 0 ? id : 0, false);
  }
}

void ControlBehaviour::PopupAt(const wxPoint& pos_in_control) const {
  wxWindow* parent = owner_->GetParent();
  if (menu_ == nullptr || parent == nullptr) return;
  const wxPoint pos = parent->ScreenToClient(owner_->ClientToScreen(pos_in_control));
  ShowPopupMenu(parent, *menu_, menu_name_, pos);
}

void ControlBehaviour::PopupBelow() const { PopupAt(wxPoint(0, owner_->GetSize().GetHeight())); }

bool IsPopupKey(const wxKeyEvent& event) {
  const int code = event.GetKeyCode();
  return (code == WXK_WINDOWS_MENU && !event.HasAnyModifiers()) ||
         (code == WXK_F10 && event.GetModifiers() == wxMOD_SHIFT);
}

void ControlBehaviour::ExposeToReaders(AccessibleRole role) const {
#ifdef __WXGTK__
  const int id = owner_->GetId();
  const HintParts hint = id > 0 ? SplitHint(KitStrings()(id)) : HintParts{};
  // A field's label is its text, no caption.
  auto* field = dynamic_cast<wxTextCtrl*>(owner_);
  const std::string caption =
      field != nullptr ? std::string() : wxControl::GetLabelText(owner_->GetLabel()).utf8_string();
  // GTK reads a caption itself and follows later changes to it; a name set here would not.
  std::string name;
  if (caption.empty()) {
    name = !hint.tip.empty() ? hint.tip.substr(0, hint.tip.find('\n')) : hint.status;
    if (name.empty() && field != nullptr) name = field->GetValue().utf8_string();
    name = SpokenName(name);
  } else if (SpokenName(caption) != caption) {
    name = SpokenName(caption);
  }
  const std::string& tip = hint.tip;
  SetAccessible(owner_->GetHandle(), role, name, SpokenName(tip));
#else
  (void)role;
#endif
}

void SpellReaderNames(wxWindow* window) {
#ifdef __WXGTK__
  if (window != nullptr) {
    SpellAccessibleNames(window->GetHandle(),
                         [](const std::string& name) { return SpokenName(name); });
  }
#else
  (void)window;
#endif
}

bool ControlBehaviour::TakeRightRelease() {
  const bool was_pressed = right_pressed_;
  right_pressed_ = false;
  return was_pressed;
}

// TZQEditCursor

TZQEditCursor::TZQEditCursor() : LitControl(RightClick::kNative) {
  Bind(wxEVT_CHAR_HOOK, &TZQEditCursor::OnCharHook, this);
  Bind(wxEVT_SET_FOCUS, &TZQEditCursor::OnFocus, this);
  Bind(wxEVT_KILL_FOCUS, &TZQEditCursor::OnFocus, this);
  Bind(wxEVT_TEXT, &TZQEditCursor::OnText, this);
}

void TZQEditCursor::Setup(std::size_t text_limit, const std::string& cursor_name) {
  text_limit_ = text_limit;
  // Single-line fields limit typing natively (in characters, an upper bound of the bytes);
  // the byte limit itself is kept by OnText for every field.
  if (!IsMultiLine() && text_limit > 0) SetMaxLength(text_limit);
  behaviour_.SetCursorName(cursor_name, false);
  behaviour_.ExposeToReaders();
  undo_text_ = last_text_ = GetValue().utf8_string();
}

std::string TZQEditCursor::GetCrLfText(std::size_t max_bytes) const {
  std::string text = ToCrLf(GetValue().utf8_string());
  if (text.size() > max_bytes) {
    // Half a line break is no line break.
    const bool splits_pair =
        text[max_bytes] == '\n' && max_bytes > 0 && text[max_bytes - 1] == '\r';
    CutUtf8(text, splits_pair ? max_bytes - 1 : max_bytes);
  }
  return text;
}

void TZQEditCursor::SetCrLfText(const std::string& text) {
  const std::string lf = LfFromCrLf(text);
  ChangeValue(wxString::FromUTF8(lf));
  undo_text_ = last_text_ = lf;
}

void TZQEditCursor::UndoEdit() {
  const std::string current = GetValue().utf8_string();
  if (current == undo_text_) return;
  ChangeValue(wxString::FromUTF8(undo_text_));
  SetInsertionPointEnd();
  last_text_ = undo_text_;
  undo_text_ = current;
  // The field changed as a typed change would have changed it.
  SendCommand(this, wxEVT_TEXT, 0);
}

void TZQEditCursor::OnCharHook(wxKeyEvent& event) {
  // Esc undoes here and so never reaches the dialog, which would close on it.
  if (event.GetKeyCode() == WXK_ESCAPE && !event.HasAnyModifiers()) {
    UndoEdit();
    return;
  }
  event.Skip();
}

void TZQEditCursor::OnFocus(wxFocusEvent& event) {
  if (event.GetEventType() == wxEVT_SET_FOCUS) undo_text_ = GetValue().utf8_string();
  RefreshFocusFrame();
  event.Skip();
}

void TZQEditCursor::OnText(wxCommandEvent& event) {
  // Multi-line fields have no native limit: a change that passes it is refused, as typing
  // beyond the limit always was. The toolkit is still inside its change here, so the text
  // goes back once it is done.
  std::string text = GetValue().utf8_string();
  if (text_limit_ > 0 && ToCrLf(text).size() > text_limit_) {
    CallAfter([this] {
      if (ToCrLf(GetValue().utf8_string()).size() <= text_limit_) return;
      const long at = GetInsertionPoint();
      ChangeValue(wxString::FromUTF8(last_text_));
      SetInsertionPoint(std::min(at, GetLastPosition()));
    });
    return;
  }
  last_text_ = std::move(text);
  event.Skip();
}

void TZQEditCursor::RefreshFocusFrame() {
  // The frame lies on the parent, one pixel around the field.
  if (wxWindow* parent = GetParent()) parent->RefreshRect(GetRect().Inflate(2));
}

// TZQCheckBox

void TZQCheckBox::RightRelease(wxMouseEvent& event) {
  SetValue(!GetValue());
  SendCommand(this, wxEVT_CHECKBOX, GetValue() ? 1 : 0);
  behaviour_.PopupAt(event.GetPosition());
}

// TZQRadioButton

TZQRadioButton::TZQRadioButton() { Bind(wxEVT_KEY_DOWN, &TZQRadioButton::OnArrowKey, this); }

void TZQRadioButton::OnArrowKey(wxKeyEvent& event) {
  bool forward = false;
  switch (event.GetKeyCode()) {
    case WXK_DOWN:
    case WXK_RIGHT:
    case WXK_NUMPAD_DOWN:
    case WXK_NUMPAD_RIGHT:
      forward = true;
      break;
    case WXK_UP:
    case WXK_LEFT:
    case WXK_NUMPAD_UP:
    case WXK_NUMPAD_LEFT:
      break;
    default:
      event.Skip();
      return;
  }
  wxRadioButton* to =
      event.HasAnyModifiers() || HasFlag(wxRB_SINGLE) ? this : Neighbour(this, forward);
  if (to == this) {
    event.Skip();
    return;
  }
  to->SetFocus();
  if (!to->GetValue()) {
    to->SetValue(true);
    SendCommand(to, wxEVT_RADIOBUTTON, 1);
  }
}

void TZQRadioButton::RightRelease(wxMouseEvent& event) {
  // As a left click here: only a change of selection is announced.
  if (!GetValue()) {
    SetValue(true);
    SendCommand(this, wxEVT_RADIOBUTTON, 1);
  }
  behaviour_.PopupAt(event.GetPosition());
}

// TZQButton

TZQButton::TZQButton() {
  OpenPopupFromKeys();
  Bind(wxEVT_LEFT_DOWN, &TZQButton::OnLeftDown, this);
  Bind(wxEVT_DROP_FILES, &TZQButton::OnDropFiles, this);
}

void TZQButton::Setup(const std::string& cursor_name, const std::string& popup_menu,
                      bool drop_down) {
  behaviour_.SetCursorName(cursor_name, true);
  behaviour_.SetPopupMenu(popup_menu);
  behaviour_.ExposeToReaders();
  drop_down_ = drop_down;
}

void TZQButton::OnLeftDown(wxMouseEvent& event) {
  if (drop_down_ && behaviour_.has_menu()) {
    // The press opens the menu below the bottom left corner; the button is not clicked.
    SetFocus();
    behaviour_.PopupBelow();
    return;
  }
  event.Skip();
}

void TZQButton::RightRelease(wxMouseEvent& event) {
  if (behaviour_.has_menu()) {
    behaviour_.PopupAt(event.GetPosition());
  } else {
    SendCommand(this, wxEVT_BUTTON, 0);
  }
}

void TZQButton::OnDropFiles(wxDropFilesEvent& event) {
  // Every drop on the dialog ends in the dialog's own drop handling.
  wxWindow* parent = GetParent();
  if (parent == nullptr || !parent->GetEventHandler()->ProcessEvent(event)) event.Skip();
}

// TAutoButton

TAutoButton::TAutoButton() {
  Bind(wxEVT_KILL_FOCUS, &TAutoButton::OnKillFocus, this);
  Bind(wxEVT_ERASE_BACKGROUND, &TAutoButton::OnEraseBackground, this);
}

void TAutoButton::OnKillFocus(wxFocusEvent& event) {
  event.Skip();
  if (wxWindow* parent = GetParent()) {
    parent->RefreshRect(GetRect().Inflate(2));
    parent->Update();
  }
}

void TAutoButton::OnEraseBackground(wxEraseEvent&) {
  // Never erased. A repaint of the face takes the highlight with it; the guard stops the
  // repaint that clearing it causes from coming back here.
  static bool clearing = false;
  if (!lumen_.lit() || clearing) return;
  clearing = true;
  lumen_.ClearLit();
  if (wxWindow* parent = GetParent()) {
    parent->RefreshRect(GetRect().Inflate(2));
    parent->Update();
  }
  clearing = false;
}

const TMouseLumen* LumenOf(const wxWindow* window) {
  if (auto* list = dynamic_cast<const TZQListBox*>(window)) return &list->lumen();
  if (auto* edit = dynamic_cast<const TZQEditCursor*>(window)) return &edit->lumen();
  if (auto* check = dynamic_cast<const TZQCheckBox*>(window)) return &check->lumen();
  if (auto* radio = dynamic_cast<const TZQRadioButton*>(window)) return &radio->lumen();
  if (auto* button = dynamic_cast<const TAutoButton*>(window)) return &button->lumen();
  return nullptr;
}

}  // namespace lq
