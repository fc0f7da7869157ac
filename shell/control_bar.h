#pragma once

#include <wx/toolbar.h>

namespace lq {

// The tool bar above the main dialog: Create, View, Preview, a gap, Clear.
class TMyControlBar : public wxToolBar {
 public:
  explicit TMyControlBar(wxWindow* parent);
};

}  // namespace lq
