#include "uikit/grafext/face_colours.h"

#include <wx/window.h>

#ifdef __WXGTK__
#include "platform/gtk_theme_colours.h"
#endif

#include <string>

namespace lq {

#ifdef __WXGTK__
namespace {

std::string Css(const wxColour& c) { return c.GetAsString(wxC2S_HTML_SYNTAX).ToStdString(); }

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

#endif

FaceColours::~FaceColours() { Remove(); }

}  // namespace lq
