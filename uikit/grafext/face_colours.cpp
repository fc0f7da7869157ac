#include "uikit/grafext/face_colours.h"

#include <wx/settings.h>
#include <wx/window.h>

#ifdef __WXGTK__
#include "platform/gtk_focus_ring.h"
#include "platform/gtk_theme_colours.h"
#endif

#include <string>

#include "uikit/grafext/contrast.h"

namespace lq {
namespace {

// Every colour known, each readable or visible on the background.
DialogColours Agreeing(DialogColours c) {
  if (!c.background.IsOk()) c.background = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
  if (!c.text.IsOk()) c.text = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT);
  if (!c.frame.IsOk()) c.frame = Mix(c.background, c.text, 0.3);
  if (!c.focus.IsOk()) c.focus = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
  c.text = ReadableOn(c.background, c.text);
  c.focus = ShowingOn(c.background, c.focus, kVisibleContrast);
  return c;
}

}  // namespace

#ifdef __WXGTK__
namespace {

std::string Css(const wxColour& c) { return c.GetAsString(wxC2S_HTML_SYNTAX).ToStdString(); }

wxColour Of(const ThemeRgb& rgb) {
  return rgb.known ? wxColour(rgb.red, rgb.green, rgb.blue) : wxColour();
}

}  // namespace

void FaceColours::Apply(wxWindow* control, const wxColour& face, const wxColour& text) {
  Remove();
  void* sheet = LayWidgetColours(control->GetHandle(), Css(face), Css(text));
  if (sheet == nullptr) return;
  control_ = control;
  sheet_ = sheet;
}

void FaceColours::Remove() {
  if (sheet_ == nullptr) return;
  LiftWidgetColours(control_->GetHandle(), sheet_);
  sheet_ = nullptr;
  control_ = nullptr;
}

DialogColours ThemeDialogColours() {
  const WindowThemeColours theme = ThemeWindowColours();
  return Agreeing({Of(theme.background), Of(theme.text), Of(theme.frame), Of(theme.focus)});
}

void ShowKeyboardFocus(wxWindow* control, const wxColour& colour) {
  LayFocusRing(control->GetHandle(), Css(colour), kFocusRingWidth);
  HideFocusOnPointerPress(control->GetHandle());
}

bool KeyboardFocusShown(const wxWindow* control) { return WindowShowsFocus(control->GetHandle()); }

#else

void FaceColours::Apply(wxWindow* control, const wxColour& face, const wxColour& text) {
  Remove();
  control_ = control;
  control->SetBackgroundColour(face);
  control->SetForegroundColour(text);
}

void FaceColours::Remove() {
  if (control_ == nullptr) return;
  control_->SetBackgroundColour(wxNullColour);
  control_->SetForegroundColour(wxNullColour);
  control_ = nullptr;
}

DialogColours ThemeDialogColours() { return Agreeing({}); }

// The system draws the focus of its own controls, by its own keyboard cues.
void ShowKeyboardFocus(wxWindow*, const wxColour&) {}

bool KeyboardFocusShown(const wxWindow*) { return true; }

#endif

FaceColours::~FaceColours() { Remove(); }

}  // namespace lq
