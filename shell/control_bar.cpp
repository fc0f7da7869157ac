#include "shell/control_bar.h"

#include <wx/tooltip.h>

#include <string>

#include "resources/hint_table.h"
#include "resources/ids.h"
#include "resources/images.h"
#include "resources/translate.h"
#include "shell/wx_text.h"
#include "uikit/tooltip/tip_logic.h"

namespace lq {
namespace {

// A tool's hint: the status part is its long help, the rest its tooltip.
void AddHintedTool(wxToolBar* bar, int id, int bitmap) {
  const HintParts hint = SplitHint(Tr(HintString(id)));
  bar->AddTool(id, wxEmptyString, ToolBitmapBundle(bitmap), FromUtf8(hint.tip), wxITEM_NORMAL);
  bar->SetToolLongHelp(id, FromUtf8(hint.status));
}

}  // namespace

TMyControlBar::TMyControlBar(wxWindow* parent)
    : wxToolBar(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                wxTB_HORIZONTAL | wxTB_FLAT | wxTB_NODIVIDER) {
  SetFont(wxFont(wxFontInfo(10)));
  SetToolBitmapSize(wxSize(32, 32));
  AddHintedTool(this, ids::kCreate, ids::kBitmapCreate);
  AddHintedTool(this, ids::kView, ids::kBitmapView);
  AddHintedTool(this, ids::kPreview, ids::kBitmapPreview);
  AddSeparator();
  AddHintedTool(this, ids::kClearList, ids::kBitmapClear);
  Realize();
  wxToolTip::SetDelay(200);
}

}  // namespace lq
