#include "engine/output.h"

#include "engine/capacities.h"
#include "engine/text_helpers.h"

namespace lq {

bool OutputComposer::Refused() {
  if (!composer_.refused()) [[likely]] {
    return false;
  }
  failure_ = composer_.TakeRefusal();
  return true;
}

bool OutputComposer::Add(std::string_view name) {
  if (count_ == 0) [[unlikely]] {
    last_.assign(name);
    composer_.ComposePiece(text_, settings_.MainHead, file_, 0, &last_);
    if (Refused()) return false;
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
    if (Refused()) return false;
    out_.Write(text_);
  }
  if (keep_last_) last_.assign(name);
  ++count_;
  return true;
}

bool OutputComposer::Finish() {
  if (failure_) return false;
  if (count_ == 0) return true;
  // The main queue's file variables describe the last item as it is listed.
  composer_.ComposePiece(text_, settings_.MainQueue, file_, static_cast<int>(count_), &last_);
  if (Refused()) return false;
  out_.Write(text_);
  return true;
}

std::optional<Failure> WriteOutput(TextFileWriter& out, Composer& composer,
                                   const ScriptSettings& settings, const FileList& list) {
  OutputComposer output(composer, settings, out);
  for (int i = 0; i < list.Count(); ++i) {
    if (!output.Add(*list.Item(i))) return output.failure();
  }
  if (!output.Finish()) return output.failure();
  return std::nullopt;
}

std::optional<Failure> CreateOutput(Composer& composer, const ScriptSettings& settings,
                                    const FileList& list, const std::string& path) {
  if (auto failure = RequireFiles(list)) return failure;
  // The window writes regular files only: a pipe could block it until somebody reads.
  TextFileWriter out(path, kInvalidOutputCaption, SpecialFiles::kRefuse);
  if (auto failure = out.Open()) return failure;
  // A refused name leaves the earlier file as it was: the writer is abandoned uncommitted.
  if (auto failure = WriteOutput(out, composer, settings, list)) return failure;
  return out.Commit();
}

TextOrFailure CreateAndCopy(Composer& composer, const ScriptSettings& settings,
                            const FileList& list, const std::string& path) {
  if (auto failure = CreateOutput(composer, settings, list, path)) return *failure;
  TextOrFailure content = ReadWholeFile(path, kInvalidFileCaption);
  // The clipboard takes text: it ends at the first NUL.
  if (auto* text = std::get_if<std::string>(&content)) {
    const std::size_t nul = text->find('\0');
    if (nul != std::string::npos) text->resize(nul);
  }
  return content;
}

TextOrFailure SingleLineText(Composer& composer, const std::string& name) {
  std::string line;
  std::string file;
  composer.ComposeLine(line, file, 0, &name);
  if (auto refusal = composer.TakeRefusal()) return *refusal;
  return line;
}

TextOrFailure PendingNameText(Composer& composer, const std::string& name) {
  std::string written = composer.WrittenNameOf(name, 0);
  if (auto refusal = composer.TakeRefusal()) return *refusal;
  return written;
}

namespace {

// The item the selected-item commands act on: the selected one, else the first.
int ActedOnItem(const FileList& list) { return list.Selected() < 0 ? 0 : list.Selected(); }

}  // namespace

TextOrFailure SelectedItemText(Composer& composer, const FileList& list) {
  if (auto failure = RequireFiles(list)) return *failure;
  const int index = ActedOnItem(list);
  std::string file;
  list.GetItem(index, file);
  file = composer.WrittenNameOf(file, index);
  if (auto refusal = composer.TakeRefusal()) return *refusal;
  return file;
}

TextOrFailure CreateAndCopySelectedText(Composer& composer, const FileList& list) {
  if (auto failure = RequireFiles(list)) return *failure;
  std::string name;
  list.GetItem(ActedOnItem(list), name);
  CutUtf8(name, kNameMax);
  return SingleLineText(composer, name);
}

}  // namespace lq
