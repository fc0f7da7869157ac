#include "uikit/grafext/mouse_lumen.h"

#include <wx/button.h>
#include <wx/dc.h>
#include <wx/dialog.h>
#include <wx/event.h>
#include <wx/settings.h>
#include <wx/toplevel.h>
#include <wx/window.h>

#include "uikit/grafext/contrast.h"
#include "uikit/grafext/zq_list_box.h"

namespace lq {
namespace {

// A button under the pointer takes a share of the theme's selection colour: lighter stays
// lighter and darker stays darker, so it reads as hover, never as pressed or disabled.
constexpr double kHoverShare = 0.15;

// A modal dialog the control opened holds the pointer, even where the pointer still lies over
// the control's place and the dialog is a native one, no window of ours to find there.
bool UnderModalDialog(const wxWindow* control) {
  const wxWindow* own = wxGetTopLevelParent(const_cast<wxWindow*>(control));
  for (const wxWindow* top : wxTopLevelWindows) {
    const auto* dialog = dynamic_cast<const wxDialog*>(top);
    if (dialog != nullptr && dialog != own && dialog->IsModal() && dialog->IsShown()) return true;
  }
  return false;
}

// How far towards white the lit side of a raised edge is from the background.
constexpr double kRaisedLightShare = 0.6;

// Pixels of the ring around a control that the parent repaints.
constexpr int kRingGrow = 2;

}  // namespace

TMouseLumen::TMouseLumen(wxWindow* owner, LumenKind kind) : owner_(owner), kind_(kind) {}

TMouseLumen::~TMouseLumen() {
  if (timer_ != nullptr) timer_->Stop();
}

void TMouseLumen::OnMove(const wxMouseEvent& event) {
  OnMove(event.ButtonIsDown(wxMOUSE_BTN_ANY) || event.GetModifiers() != wxMOD_NONE);
}

void TMouseLumen::OnMove(bool button_or_modifier_held) {
  if (button_or_modifier_held) return;
  if (kind_ == LumenKind::kEditOrCheck || kind_ == LumenKind::kListOrRadio) {
    if (owner_->HasFocus()) {
      // A focused control shows its focus, not the hover outline; no timer runs.
      if (!lit_ && look_ != LumenLook::kNone) {
        look_ = LumenLook::kNone;
        RepaintRing();
      }
      lit_ = true;
      return;
    }
    if (look_ != LumenLook::kDotted) {
      look_ = LumenLook::kDotted;
      RepaintRing();
    }
  } else if (IsDefaultButton()) {
    if (look_ != LumenLook::kRaisedEdge) {
      look_ = LumenLook::kRaisedEdge;
      RepaintRing();
    }
  } else if (!lit_) {
    Tint(true);
  }
  lit_ = true;
  if (timer_ == nullptr) timer_ = KitTimers().Make(kLumenTimerId, [this] { Check(); });
  timer_->Start(kLumenCheckMs);
  timer_id_ = kLumenTimerId;
}

void TMouseLumen::Check() {
  PointerProbe& pointer = KitPointer();
  const wxPoint at = pointer.Position();
  wxRect inside = owner_->GetScreenRect();
  if (kind_ == LumenKind::kListOrRadio) {
    if (auto* list = dynamic_cast<TZQListBox*>(owner_); list != nullptr && list->RowsOverflow()) {
      inside.SetWidth(inside.GetWidth() - wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, owner_));
    }
  }
  wxWindow* under = pointer.WindowAt(at);
  if (under != nullptr && under != owner_) under = under->GetParent();
  if (inside.Contains(at) && under == owner_ && !UnderModalDialog(owner_)) return;
  LightOff();
  if (timer_ != nullptr) timer_->Stop();
  timer_id_ = 0;
}

void TMouseLumen::LightOff() {
  if (look_ == LumenLook::kTinted) {
    Tint(false);
  } else if (look_ != LumenLook::kNone) {
    look_ = LumenLook::kNone;
    RepaintRing();
  }
  lit_ = false;
}

void TMouseLumen::ClearLit() { LightOff(); }

void TMouseLumen::RepaintRing() {
  wxWindow* parent = owner_->GetParent();
  if (parent == nullptr) return;
  parent->RefreshRect(owner_->GetRect().Inflate(kRingGrow));
  parent->Update();
}

void TMouseLumen::Tint(bool on) {
  if (on) {
    // The theme's own button colours: the dialog's grey that the button inherits is not
    // what the theme paints it with.
    const wxVisualAttributes theme = wxButton::GetClassDefaultAttributes();
    const wxColour face =
        Mix(theme.colBg, wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT), kHoverShare);
    tint_.Apply(owner_, face, ReadableOn(face, theme.colFg));
    look_ = LumenLook::kTinted;
  } else {
    tint_.Remove();
    look_ = LumenLook::kNone;
  }
  owner_->Refresh();
  owner_->Update();
}

bool TMouseLumen::IsDefaultButton() const {
  auto* top = dynamic_cast<wxTopLevelWindow*>(wxGetTopLevelParent(owner_));
  return top != nullptr && top->GetDefaultItem() == owner_;
}

void DrawControlFrame(wxDC& dc, const wxWindow* control, int grow, wxPenStyle style,
                      const wxColour& colour, bool use_background) {
  const wxRect rect = control->GetRect().Inflate(grow);
  dc.SetPen(wxPen(use_background ? dc.GetBackground().GetColour() : colour, 1, style));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawRectangle(rect);
}

void PaintLumen(wxDC& dc, const TMouseLumen& lumen) {
  const wxWindow* control = lumen.owner();
  switch (lumen.look()) {
    case LumenLook::kDotted:
      DrawControlFrame(dc, control, 1, wxPENSTYLE_DOT, wxColour(0x80, 0x80, 0x80), false);
      break;
    case LumenLook::kRaisedEdge: {
      // Lit from the top left in the theme's own shades: its frame colour for the shadow,
      // never a black line that a dark theme would lose or a light one shout.
      const DialogColours theme = ThemeDialogColours();
      const wxRect r = control->GetRect().Inflate(1);
      dc.SetPen(wxPen(Mix(theme.background, *wxWHITE, kRaisedLightShare)));
      dc.DrawLine(r.GetLeft(), r.GetBottom(), r.GetLeft(), r.GetTop());
      dc.DrawLine(r.GetLeft(), r.GetTop(), r.GetRight(), r.GetTop());
      dc.SetPen(wxPen(theme.frame));
      dc.DrawLine(r.GetRight(), r.GetTop(), r.GetRight(), r.GetBottom());
      dc.DrawLine(r.GetRight(), r.GetBottom(), r.GetLeft() - 1, r.GetBottom());
      break;
    }
    case LumenLook::kTinted:
    case LumenLook::kNone:
      break;
  }
}

}  // namespace lq
