#include "engine/preview.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>

#include "engine/failure.h"
#include "engine/text_helpers.h"

namespace lq {
namespace {

// Gathers the pieces, joining output that follows output.
class Pieces {
 public:
  Pieces(std::vector<PreviewPiece>& out, Eol eol)
      : out_(out), eol_(eol == Eol::kCrLf ? "\r\n" : "\n") {}

  // Composed text, as Create hands it to its writer.
  void Output(std::string_view text) {
    if (!text.empty()) OutputRun().append(text);
  }
  void Note(PreviewPiece::Kind kind, std::string text) {
    text += eol_;
    out_.push_back({kind, std::move(text)});
  }

 private:
  std::string& OutputRun() {
    if (out_.empty() || out_.back().kind != PreviewPiece::Kind::kOutput) {
      out_.push_back({PreviewPiece::Kind::kOutput, {}});
    }
    return out_.back().text;
  }

  std::vector<PreviewPiece>& out_;
  const char* eol_;
};

// A refused name may hold line breaks and other control bytes: the note stays one line.
std::string OneLine(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (byte < 0x20 || byte == 0x7f) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

// Takes what composing the last text produced: its output, or the reason it was refused.
void Take(Composer& composer, Pieces& pieces, std::string_view text) {
  if (const Status refusal = composer.TakeRefusal(); !refusal.ok()) {
    pieces.Note(PreviewPiece::Kind::kRefused, OneLine(refusal.failure().Describe()));
  } else {
    pieces.Output(text);
  }
}

}  // namespace

std::string Preview::Text() const {
  std::string text;
  for (const PreviewPiece& piece : pieces) text += piece.text;
  return text;
}

Preview ComposePreview(Composer& composer, const ScriptSettings& settings, const FileList& list,
                       int limit) {
  Preview preview;
  preview.items = list.Count();
  Pieces pieces(preview.pieces, composer.eol());
  if (list.Empty()) {
    pieces.Note(PreviewPiece::Kind::kEmpty, kRequireFilesText);
    return preview;
  }
  // The steps of Create's composing (OutputComposer), but for at most limit items and
  // going on past a refused name.
  std::string text;
  std::string file;
  std::string described = *list.Item(0);
  composer.ComposePiece(text, settings.MainHead, file, 0, &described);
  Take(composer, pieces, text);

  preview.composed = std::clamp(limit, 0, preview.items);
  std::string room(Composer::kLineRoom, '\0');
  for (int i = 0; i < preview.composed; ++i) {
    const std::string& name = *list.Item(i);
    const char* end = composer.WriteLineTo(room.data(), i, name);
    if (end != nullptr) {
      pieces.Output(std::string_view(room.data(), static_cast<std::size_t>(end - room.data())));
      continue;
    }
    composer.ComposeLineFor(text, file, i, name);
    Take(composer, pieces, text);
  }
  if (const int more = preview.items - preview.composed; more > 0) {
    pieces.Note(PreviewPiece::Kind::kMore,
                "\xE2\x80\xA6 and " + IntToText(more) + (more == 1 ? " more item" : " more items"));
  }
  // As in the file, the main queue describes the last item when it names a variable.
  if (VariablesIn(settings.MainQueue) != 0) described = *list.Item(preview.items - 1);
  composer.ComposePiece(text, settings.MainQueue, file, preview.items, &described);
  Take(composer, pieces, text);
  return preview;
}

}  // namespace lq
