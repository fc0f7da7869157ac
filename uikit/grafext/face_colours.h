#pragma once

#include <wx/colour.h>

class wxWindow;

namespace lq {

// A face and text colour laid over a control's own for a while, such as a button's hover.
// On GTK the theme draws a button's face as an image that the toolkit's background colour
// does not reach, so the colours go in as a style sheet of the control's own.
class FaceColours {
 public:
  FaceColours() = default;
  ~FaceColours();
  FaceColours(const FaceColours&) = delete;
  FaceColours& operator=(const FaceColours&) = delete;

  void Apply(wxWindow* control, const wxColour& face, const wxColour& text);
  void Remove();

 private:
  wxWindow* control_ = nullptr;
  void* sheet_ = nullptr;
};

}  // namespace lq
