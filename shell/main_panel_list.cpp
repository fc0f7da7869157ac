// The main dialog's list commands.
#include <algorithm>
#include <cstdint>
#include <memory>

#include "engine/list_file.h"
#include "resources/translate.h"
#include "shell/main_panel.h"

namespace lq {

// How long a read of a list may take before it shows its progress.
constexpr long long kProgressAfterMs = 500;

void MainPanel::OnClear() {
  list_.Clear();
  ShowList();
  UpdateCounter();
}

void MainPanel::OnMove(Direction direction) {
  ListHasFiles();  // an empty list only shows the notice
  MoveItem(list_, direction);
  ShowList();
  UpdateCounter();
}

void MainPanel::OnDelete() {
  ListHasFiles();
  DeleteSelected(list_);
  ShowList();
  UpdateCounter();
}

void MainPanel::OnOpenList() {
  std::string name;
  if (!context_.services.prompts->ChooseFile(this, kOpenListDialog, name, {})) return;
  // A long read shows its progress after half a second; Cancel keeps what was read.
  Clock& clock = *context_.services.clock;
  const long long start = clock.NowMs();
  std::unique_ptr<Progress> progress;
  auto on_progress = [&](std::uint64_t done, std::uint64_t size) {
    if (!progress && clock.NowMs() - start >= kProgressAfterMs) {
      progress = context_.services.prompts->StartProgress(this, kAppCaption, Tr("Reading ") + name);
    }
    if (!progress) return true;
    return progress->Update(
        size == 0 ? 0 : static_cast<int>(std::min<std::uint64_t>(done * 1000 / size, 1000)));
  };
  OpenListReport report;
  const std::optional<Failure> failure = OpenList(list_, name, on_progress, &report);
  progress.reset();
  if (failure) {
    Report(*failure);
    return;
  }
  ShowList();
  UpdateCounter();
  // Told over the list that holds every other line.
  if (auto left_out = LeftOutNotice(name, report)) Report(*left_out);
}

void MainPanel::OnSaveList() {
  if (!ListHasFiles()) return;
  std::string name;
  if (!context_.services.prompts->ChooseFile(this, kSaveListDialog, name, {})) return;
  if (auto failure = SaveList(list_, name, context_.eol)) Report(*failure);
}

}  // namespace lq
