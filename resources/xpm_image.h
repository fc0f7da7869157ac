#pragma once

#include <wx/image.h>

namespace lq {

// Decodes the XPM art the window carries: one character a pixel, colours written "#RRGGBB" or
// "None". The toolkit's own decoder looks every pixel up through a string conversion, which
// made decoding the tool bar art and the cursors a tenth of the start-up; this one looks it
// up in a table. The result is the toolkit's to the pixel, its mask colour included. Rows
// too short or with an undeclared character give an invalid image; a header or colours of
// any other form go to the toolkit's decoder.
wxImage DecodeXpm(const char* const* xpm);

}  // namespace lq
