#include "shell/main_list_part.h"

#include <wx/textctrl.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "engine/list_file.h"
#include "resources/ids.h"
#include "resources/resources.h"
#include "resources/translate.h"
#include "shell/panel_host.h"
#include "shell/wx_text.h"
#include "uikit/grafext/controls.h"
#include "uikit/grafext/kit_services.h"
#include "uikit/grafext/zq_list_box.h"

namespace lq {
namespace {

// How long a read of a list may take before it shows its progress.
constexpr long long kProgressAfterMs = 500;

}  // namespace

MainListPart::MainListPart(PanelHost& host)
    : host_(host), list_box_(dynamic_cast<TZQListBox*>(host.window().FindWindow(ids::kFileList))) {
  if (list_box_ != nullptr) list_box_->ShowList(&host_.list());
  SetupControls();
  BindNotices();
}

void MainListPart::SetupControls() {
  constexpr const char* kNormal = "CUR_NORMAL";
  // The list is a tab stop: the keys move its selection, Del and the List menu act on it.
  if (list_box_ != nullptr) list_box_->Setup(kNormal, kListPopup);
  if (auto* counter = dynamic_cast<TZQEditCursor*>(host_.window().FindWindow(ids::kCounter))) {
    counter->Setup(kEditMax, kNormal);
  }
  for (int id : {ids::kMoveUp, ids::kMoveDown, ids::kDeleteItem}) {
    if (auto* button = dynamic_cast<TAutoButton*>(host_.window().FindWindow(id))) {
      button->Setup("", "");
    }
  }
}

void MainListPart::BindNotices() {
  wxWindow& panel = host_.window();
  panel.Bind(
      wxEVT_LISTBOX, [this](wxCommandEvent&) { OnNotice(); }, ids::kFileList);
  panel.Bind(
      wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { OnNotice(); }, ids::kFileList);
  if (list_box_ == nullptr) return;
  list_box_->Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& e) {
    e.Skip();
    OnNotice();
  });
  list_box_->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& e) {
    e.Skip();
    OnNotice();
  });
}

// The list box changes the list itself; the counter follows. A list left with nothing
// selected has no selected item: the counter then selects the first, as it always did.
void MainListPart::OnNotice() {
  FileList& list = host_.list();
  if (list.SelectedCount() == 0) list.Select(-1);
  UpdateCounter();
}

void MainListPart::ShowList() {
  if (list_box_ != nullptr) list_box_->ListChanged();
}

void MainListPart::UpdateCounter() {
  const std::string text = lq::UpdateCounter(host_.list());
  if (list_box_ != nullptr) list_box_->Refresh();  // it may have selected the first item
  if (auto* counter = dynamic_cast<wxTextCtrl*>(host_.window().FindWindow(ids::kCounter))) {
    counter->ChangeValue(FromUtf8(text));
  }
}

void MainListPart::Changed() { host_.ListChanged(); }

void MainListPart::Clear() {
  host_.list().Clear();
  Changed();
}

void MainListPart::Move(Direction direction) {
  host_.ListHasFiles();  // an empty list only shows the notice
  MoveItem(host_.list(), direction);
  Changed();
}

void MainListPart::Delete() {
  host_.ListHasFiles();
  DeleteSelected(host_.list());
  Changed();
}

void MainListPart::OpenList() {
  ShellContext& context = host_.context();
  std::string name;
  if (!context.services.prompts->ChooseFile(&host_.window(), kOpenListDialog, name, {})) return;
  // A long read shows its progress after half a second; Cancel keeps what was read.
  Clock& clock = KitClock();
  const long long start = clock.NowMs();
  std::unique_ptr<Progress> progress;
  auto on_progress = [&](std::uint64_t done, std::uint64_t size) {
    if (!progress && clock.NowMs() - start >= kProgressAfterMs) {
      progress = context.services.prompts->StartProgress(&host_.window(), kAppCaption,
                                                         Tr("Reading ") + name);
    }
    if (!progress) return true;
    return progress->Update(
        size == 0 ? 0 : static_cast<int>(std::min<std::uint64_t>(done * 1000 / size, 1000)));
  };
  OpenListReport report;
  const Status opened = lq::OpenList(host_.list(), name, on_progress, &report);
  progress.reset();
  if (!opened.ok()) {
    host_.Report(opened.failure());
    return;
  }
  Changed();
  // Told over the list that holds every other line.
  if (const Status left_out = LeftOutNotice(name, report); !left_out.ok()) {
    host_.Report(left_out.failure());
  }
}

void MainListPart::SaveList() {
  if (!host_.ListHasFiles()) return;
  ShellContext& context = host_.context();
  std::string name;
  if (!context.services.prompts->ChooseFile(&host_.window(), kSaveListDialog, name, {})) return;
  if (const Status saved = lq::SaveList(host_.list(), name, context.eol); !saved.ok()) {
    host_.Report(saved.failure());
  }
}

}  // namespace lq
