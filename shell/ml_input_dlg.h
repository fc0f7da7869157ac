#pragma once

#include <cstddef>
#include <string>

#include "uikit/grafext/white_center_dlg.h"

namespace lq {

// Edits a multi-line text (the main head or the main queue) in place; Cancel leaves it.
class MLInputDlg : public TWhiteCenterDlg {
 public:
  // text may be null: the dialog then edits nothing. capacity counts the terminator, so at
  // most capacity - 1 bytes are stored.
  MLInputDlg(wxWindow* owner, const wxFont& font, std::string* text, std::size_t capacity);

 private:
  void OnOk(wxCommandEvent& event);

  std::string* text_;
  std::size_t capacity_;
};

}  // namespace lq
