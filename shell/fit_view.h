#pragma once

#include <wx/scrolwin.h>

#include "uikit/grafext/white_center_dlg.h"

namespace lq {

// The main dialog's place in the frame: it gives the dialog the room there is, or what its
// controls need where that is more (a tile narrower or shorter than they need), and scrolls
// over the rest, so that no control is ever cut or squeezed below what it needs.
class TFitView : public wxScrolledWindow {
 public:
  explicit TFitView(wxWindow* parent);

  // The dialog to hold, made a child of this view.
  void Hold(TWhiteCenterPanel* dialog);
  // The least room the view takes: the width the dialog's controls need, and a few of its
  // rows (the rest scrolls).
  wxSize SmallestRoom() const;

 protected:
  // The dialog's own best size: the frame opens at its start size.
  wxSize DoGetBestSize() const override;

 private:
  void OnSize(wxSizeEvent& event);
  void Place();

  TWhiteCenterPanel* dialog_ = nullptr;
};

}  // namespace lq
