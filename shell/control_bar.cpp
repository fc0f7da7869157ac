#include "shell/control_bar.h"

#include <wx/tooltip.h>

#include <string>

#include "platform/gtk_accessible.h"
#include "resources/hint_table.h"
#include "resources/ids.h"
#include "resources/images.h"
#include "resources/translate.h"
#include "shell/wx_text.h"
#include "uikit/grafext/spoken_name.h"
#include "uikit/tooltip/tip_logic.h"

namespace lq {
namespace {

// A tool's hint: the status part is its long help, the rest its tooltip.
void AddHintedTool(wxToolBar* bar, int id, int bitmap) {
  const HintParts hint = SplitHint(Tr(HintString(id)));
  bar->AddTool(id, wxEmptyString, ToolBitmapBundle(bitmap), FromUtf8(hint.tip), wxITEM_NORMAL);
  bar->SetToolLongHelp(id, FromUtf8(hint.status));
}

// The tools have no captions: readers name each by its tooltip, or its long help.
[[maybe_unused]] void NameTools(wxToolBar* bar) {
  for (size_t i = 0; i < bar->GetToolsCount(); ++i) {
    const wxToolBarToolBase* tool = bar->GetToolByPos(static_cast<int>(i));
    if (tool == nullptr || tool->IsSeparator()) continue;
    const HintParts hint = SplitHint(HintString(tool->GetId()));
    const std::string& text = hint.tip.empty() ? hint.status : hint.tip;
    NameTool(bar->GetHandle(), static_cast<int>(i), SpokenName(text.substr(0, text.find('\n'))));
  }
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
#ifdef __WXGTK__
  NameTools(this);
#endif
  wxToolTip::SetDelay(200);
}

}  // namespace lq
