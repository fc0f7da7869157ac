#include "engine/output.h"

#include "engine/capacities.h"
#include "engine/text_helpers.h"

namespace lq {

Status OutputComposer::Refused() {
  refusal_ = composer_.TakeRefusal();
  return refusal_;
}

Status OutputComposer::Add(std::string_view name) {
  if (count_ == 0) [[unlikely]] {
    last_.assign(name);
    composer_.ComposePiece(text_, settings_.MainHead, file_, 0, &last_);
    if (composer_.refused()) return Refused();
    out_.Write(text_);
  }
  const int index = static_cast<int>(count_);
  char* room = out_.Room(Composer::kLineRoom);
  char* end = room != nullptr ? composer_.WriteLineTo(room, index, name) : nullptr;
  if (end != nullptr) [[likely]] {
    out_.Filled(end);
  } else {
    // A refused name never comes out straight: only this way can refuse.
    composer_.ComposeLineFor(text_, file_, index, name);
    if (composer_.refused()) return Refused();
    out_.Write(text_);
  }
  if (keep_last_) last_.assign(name);
  ++count_;
  return {};
}

Status OutputComposer::Finish() {
  if (!refusal_.ok()) return refusal_;
  if (count_ == 0) return {};
  // The main queue's file variables describe the last item as it is listed.
  composer_.ComposePiece(text_, settings_.MainQueue, file_, static_cast<int>(count_), &last_);
  if (composer_.refused()) return Refused();
  out_.Write(text_);
  return {};
}

Status WriteOutput(TextFileWriter& out, Composer& composer, const ScriptSettings& settings,
                   const FileList& list) {
  OutputComposer output(composer, settings, out);
  for (int i = 0; i < list.Count(); ++i) {
    if (Status added = output.Add(*list.Item(i)); !added.ok()) [[unlikely]] {
      return added;
    }
  }
  return output.Finish();
}

Status CreateOutput(Composer& composer, const ScriptSettings& settings, const FileList& list,
                    const std::string& path) {
  if (Status some = RequireFiles(list); !some.ok()) return some;
  // The window writes regular files only: a pipe could block it until somebody reads.
  TextFileWriter out(path, kInvalidOutputCaption, SpecialFiles::kRefuse);
  if (Status opened = out.Open(); !opened.ok()) return opened;
  // A refused name leaves the earlier file as it was: the writer is abandoned uncommitted.
  if (Status written = WriteOutput(out, composer, settings, list); !written.ok()) return written;
  return out.Commit();
}

Result<std::string> CreateAndCopy(Composer& composer, const ScriptSettings& settings,
                                  const FileList& list, const std::string& path) {
  if (Status created = CreateOutput(composer, settings, list, path); !created.ok()) {
    return std::move(created).failure();
  }
  Result<std::string> content = ReadWholeFile(path, kInvalidFileCaption);
  // The clipboard takes text: it ends at the first NUL.
  if (content.ok()) {
    std::string& text = content.value();
    const std::size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
  }
  return content;
}

Result<std::string> SingleLineText(Composer& composer, const std::string& name) {
  std::string line;
  std::string file;
  composer.ComposeLine(line, file, 0, &name);
  if (Status refusal = composer.TakeRefusal(); !refusal.ok()) return std::move(refusal).failure();
  return line;
}

Result<std::string> PendingNameText(Composer& composer, const std::string& name) {
  std::string written = composer.WrittenNameOf(name, 0);
  if (Status refusal = composer.TakeRefusal(); !refusal.ok()) return std::move(refusal).failure();
  return written;
}

namespace {

// The item the selected-item commands act on: the selected one, else the first.
int ActedOnItem(const FileList& list) { return list.Selected() < 0 ? 0 : list.Selected(); }

}  // namespace

Result<std::string> SelectedItemText(Composer& composer, const FileList& list) {
  if (Status some = RequireFiles(list); !some.ok()) return std::move(some).failure();
  const int index = ActedOnItem(list);
  std::string file;
  list.GetItem(index, file);
  file = composer.WrittenNameOf(file, index);
  if (Status refusal = composer.TakeRefusal(); !refusal.ok()) return std::move(refusal).failure();
  return file;
}

Result<std::string> CreateAndCopySelectedText(Composer& composer, const FileList& list) {
  if (Status some = RequireFiles(list); !some.ok()) return std::move(some).failure();
  std::string name;
  list.GetItem(ActedOnItem(list), name);
  CutUtf8(name, kNameMax);
  return SingleLineText(composer, name);
}

}  // namespace lq
