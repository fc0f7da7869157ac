#include "shell/main_panel_layout.h"

#include <wx/translation.h>

#include "resources/ids.h"

namespace lq {

// Dialog units, as the resource's; the controls keep the resource's sizes where they can.
const std::vector<TWhiteCenterPanel::PlacedControl>& NarrowMainPanel() {
  static const std::vector<TWhiteCenterPanel::PlacedControl> places = {
      {ids::kFileList, nullptr, {5, 0, 86, 68}},
      {ids::kCounter, nullptr, {92, 0, 29, 10}},
      {ids::kDeleteItem, nullptr, {95, 15, 20, 14}},
      {ids::kMoveUp, nullptr, {95, 39, 15, 14}},
      {ids::kMoveDown, nullptr, {95, 54, 15, 14}},
      {ids::kHeader, nullptr, {6, 73, 112, 32}},
      {ids::kQueue, nullptr, {6, 107, 112, 32}},
      {-1, wxTRANSLATE("Path"), {6, 142, 112, 35}},
      {ids::kModeFull, nullptr, {11, 152, 47, 10}},
      {ids::kModeRelative, nullptr, {59, 152, 57, 10}},
      {ids::kModeName, nullptr, {11, 164, 47, 10}},
      {ids::kModeNone, nullptr, {59, 164, 57, 10}},
      {-1, wxTRANSLATE("Settings"), {6, 180, 112, 72}},
      {ids::kSetOutputFile, nullptr, {10, 190, 40, 10}},
      {ids::kOutFileField, nullptr, {52, 189, 62, 12}},
      {ids::kSetMainHead, nullptr, {10, 202, 40, 10}},
      {ids::kMainHeadField, nullptr, {52, 202, 62, 10}},
      {ids::kSetMainQueue, nullptr, {10, 214, 40, 10}},
      {ids::kMainQueueField, nullptr, {52, 214, 62, 10}},
      {ids::kInvertSlash, nullptr, {10, 226, 104, 10}},
      {ids::kSaveLocal, nullptr, {10, 238, 104, 10}},
      {ids::kAutoDrag, nullptr, {6, 257, 57, 14}},
      {ids::kCreate, nullptr, {68, 255, 50, 18}},
      {ids::kRelPathField, nullptr, {6, 277, 112, 10}},
  };
  return places;
}

wxSize NarrowMainPanelSize() { return {121, 290}; }

}  // namespace lq
