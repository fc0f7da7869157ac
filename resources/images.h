#pragma once

#include <wx/bitmap.h>
#include <wx/bmpbndl.h>
#include <wx/cursor.h>
#include <wx/iconbndl.h>
#include <wx/image.h>

#include <string>

namespace lq {

// Tool-button bitmap ids::kBitmapCreate, kBitmapView, kBitmapPreview or kBitmapClear (16
// colours, transparent background) at 32 or 64 pixels; an invalid bitmap for any other id or
// size. The 64-pixel art is drawn at that size, its curves and outlines finer than the
// 32-pixel art's.
wxBitmap ToolBitmap(int id, int pixels = 32);
// Both sizes, so the tool bar stays sharp at a scale of 2. Empty for any other id.
wxBitmapBundle ToolBitmapBundle(int id);

// The picture of cursor "CUR_NORMAL" or "CUR_MANO", with its hotspot in the options
// wxIMAGE_OPTION_CUR_HOTSPOT_X and _Y; an invalid image for any other name.
wxImage CursorImage(const std::string& name);

// Cursor "CUR_NORMAL" (arrow) or "CUR_MANO" (open hand); wxNullCursor for any other name,
// which callers take as "no cursor of its own".
wxCursor LoadCursorResource(const std::string& name);

// The application icon (resource 1): the icon theme's, from 16 to 256 pixels.
wxIconBundle AppIcons();

}  // namespace lq
