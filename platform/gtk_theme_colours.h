#pragma once

#include <string>

namespace lq {

// Colours laid over one GTK widget's theme. The theme draws a button's face as an image
// that a background colour does not reach, so they go in as a style sheet of the widget's
// own, above the theme's.

// Lays face and text (CSS colours such as "#336699") over widget (a GtkWidget*, as
// wxWindow::GetHandle gives it) and returns the sheet that holds them; null, with nothing
// laid, when widget is null.
void* LayWidgetColours(void* widget, const std::string& face, const std::string& text);

// Takes sheet, as LayWidgetColours returned it for widget, off widget and frees it.
void LiftWidgetColours(void* widget, void* sheet);

// One colour as the theme states it; known is false where the theme states none.
struct ThemeRgb {
  bool known = false;
  unsigned char red = 0;
  unsigned char green = 0;
  unsigned char blue = 0;
};

// What the theme paints a plain window with, read from its style for a window, a frame's
// border in it and the colour it marks selection and focus with.
struct WindowThemeColours {
  ThemeRgb background;
  ThemeRgb text;
  ThemeRgb frame;
  ThemeRgb focus;
};
WindowThemeColours ThemeWindowColours();

}  // namespace lq
