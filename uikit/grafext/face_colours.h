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

// The colours of a dialog's own surface, as the desktop's theme paints a window: its
// background, the text on it, the lines of its group frames and the ring of the focused
// control. Text and ring always show on the background.
struct DialogColours {
  wxColour background;
  wxColour text;
  wxColour frame;
  wxColour focus;
};
DialogColours ThemeDialogColours();

// Pixels of the focus ring's line.
inline constexpr int kFocusRingWidth = 2;

// Gives a push button, check box or radio button a focus ring of colour, shown while it has
// the focus and the focus came by keyboard: a pointer press in its window hides it again.
void ShowKeyboardFocus(wxWindow* control, const wxColour& colour);
// Whether the window holding control marks the focus now, as after a key press.
bool KeyboardFocusShown(const wxWindow* control);

}  // namespace lq
