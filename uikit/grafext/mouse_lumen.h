#pragma once

#include <wx/colour.h>
#include <wx/pen.h>

#include <memory>

#include "uikit/grafext/face_colours.h"
#include "uikit/grafext/kit_services.h"

class wxDC;
class wxMouseEvent;
class wxWindow;

namespace lq {

// The kinds of hover highlight.
enum class LumenKind {
  kEditOrCheck,  // dotted grey outline
  kButton,       // raised edge (the default button) or a hover tint
  kListOrRadio,  // dotted grey outline; the list's scroll bar does not count as inside
};

inline constexpr int kLumenTimerId = 1029;
inline constexpr int kLumenCheckMs = 100;

// What the highlight shows now.
enum class LumenLook { kNone, kDotted, kRaisedEdge, kTinted };

// The hover highlight of one control. GTK draws a native control itself, so the outline and
// the raised edge are painted by the parent dialog, one pixel around the control, in its
// paint handler; the tint is the button's own colours, which the toolkit paints. A 100 ms check
// timer (id 1029) removes the highlight once the pointer has left.
class TMouseLumen {
 public:
  TMouseLumen(wxWindow* owner, LumenKind kind);
  ~TMouseLumen();
  TMouseLumen(const TMouseLumen&) = delete;
  TMouseLumen& operator=(const TMouseLumen&) = delete;

  // At each pointer move over the control; nothing while a button or modifier is held.
  void OnMove(const wxMouseEvent& event);
  void OnMove(bool button_or_modifier_held);
  // The check timer's tick: keeps the highlight while the pointer is inside the control.
  void Check();
  void LightOff();
  // The control repainted its whole face: whatever was lit is gone.
  void ClearLit();

  LumenKind kind() const { return kind_; }
  bool lit() const { return lit_; }
  int timer_id() const { return timer_id_; }
  LumenLook look() const { return look_; }
  const wxWindow* owner() const { return owner_; }

 private:
  // The ring around the control on its parent, painted again at once.
  void RepaintRing();
  void Tint(bool on);
  bool IsDefaultButton() const;

  wxWindow* owner_;
  LumenKind kind_;
  int timer_id_ = 0;
  bool lit_ = false;
  LumenLook look_ = LumenLook::kNone;
  std::unique_ptr<KitTimer> timer_;
  FaceColours tint_;
};

// A 1-pixel outline, no fill, around a control's rectangle grown by grow pixels, drawn on dc
// in the control's parent's coordinates (the parent's paint handler passes its own dc).
// use_background draws in the dc's background colour instead of colour.
void DrawControlFrame(wxDC& dc, const wxWindow* control, int grow, wxPenStyle style,
                      const wxColour& colour, bool use_background);

// The parent's share of the highlight: the outline or raised edge of one control.
void PaintLumen(wxDC& dc, const TMouseLumen& lumen);

}  // namespace lq
