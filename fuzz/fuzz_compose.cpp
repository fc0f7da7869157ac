// Feeds arbitrary texts, names and settings to the composer and the output functions.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/capacities.h"
#include "engine/composer.h"
#include "engine/escape.h"
#include "engine/file_list.h"
#include "engine/file_values.h"
#include "engine/output.h"
#include "engine/path_style.h"
#include "engine/script_settings.h"
#include "engine/text_file.h"

namespace {

bool ValidUtf8(std::string_view s) { return lq::IsValidUtf8(s); }

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz_compose: invariant broken: %s\n", what);
    std::abort();
  }
}

// Texts longer than their capacities reach the cuts; the bound keeps runs fast.
constexpr std::size_t kFieldMax = 1200;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::uint8_t flags = in.ConsumeIntegral<std::uint8_t>();
  // Modes 0..3 and a few values outside them, which act as full path.
  static constexpr std::int32_t kModes[] = {0, 1, 2, 3, -1, 4, 1 << 30};
  const std::int32_t mode = in.PickValueInArray(kModes);
  const bool invert = (flags & 1) != 0;
  const lq::PathStyle style = (flags & 2) != 0 ? lq::PathStyle::Windows : lq::PathStyle::Posix;
  const lq::Eol eol = (flags & 4) != 0 ? lq::Eol::CrLf : lq::Eol::Lf;
  const bool write_file = (flags & 8) != 0;
  // Bits 4 to 6 choose the escaping; 7 acts as none.
  const int kind = (flags >> 4) & 7;
  const lq::EscapeKind escape = kind < static_cast<int>(lq::kEscapeWords.size())
                                    ? static_cast<lq::EscapeKind>(kind)
                                    : lq::EscapeKind::None;

  lq::ScriptSettings settings;
  settings.CheckIndex = mode;
  settings.InvertSlash = invert;
  settings.Escape = escape;
  settings.RelPath = in.ConsumeRandomLengthString(kFieldMax);
  settings.MainHead = in.ConsumeRandomLengthString(kFieldMax);
  settings.MainQueue = in.ConsumeRandomLengthString(kFieldMax);
  const std::string header = in.ConsumeRandomLengthString(kFieldMax);
  const std::string queue = in.ConsumeRandomLengthString(kFieldMax);
  const int count = in.ConsumeIntegralInRange(0, 4);
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back(in.ConsumeRandomLengthString(kFieldMax));
  const std::string given = in.ConsumeRemainingBytesAsString();

  bool valid = ValidUtf8(settings.RelPath) && ValidUtf8(settings.MainHead) &&
               ValidUtf8(settings.MainQueue) && ValidUtf8(header) && ValidUtf8(queue) &&
               ValidUtf8(given);
  lq::FileList list;
  for (const std::string& name : names) {
    valid = valid && ValidUtf8(name);
    list.Append(name);
  }
  for (int i = 0; i < list.Count(); ++i) {
    Check(list.Item(i)->size() <= lq::kNameMax, "list item within its capacity");
  }

  lq::Composer composer(settings, style, header, queue, &list);
  std::string line;
  std::string file;
  auto check_line = [&](const char* where) {
    Check(line.size() <= lq::kLineMax, where);
    if (valid) Check(ValidUtf8(line), "a valid text stays valid UTF-8 through composing");
  };
  auto check_piece = [&](const std::string& piece) {
    Check(piece.size() <= lq::kComposeWork, "a piece within the working bound");
    if (valid) Check(ValidUtf8(piece), "a valid piece stays valid UTF-8");
  };

  // The same texts replaced one variable after another: the one-pass way must agree.
  lq::Composer reference(settings, style, header, queue, &list);
  reference.set_stepwise_only(true);
  std::string ref_line;
  std::string ref_file;

  // The output, as WriteOutput composes it, checked piece by piece.
  // Both ways refuse the same names, and agree on whatever they do not refuse.
  auto same_refusal = [&](const char* what) {
    const auto a = composer.TakeRefusal();
    const auto b = reference.TakeRefusal();
    Check(a.has_value() == b.has_value(), what);
    return b.has_value();
  };
  composer.ComposePiece(line, settings.MainHead, file, 0);
  reference.ComposePiece(ref_line, settings.MainHead, ref_file, 0);
  const bool head_refused = same_refusal("the main head refused in one pass as step by step");
  Check(head_refused || line == ref_line, "the main head composed in one pass as step by step");
  check_piece(line);
  for (int i = 0; i < list.Count(); ++i) {
    composer.ComposeLine(line, file, i);
    reference.ComposeLine(ref_line, ref_file, i);
    const bool refused = same_refusal("a line refused in one pass as step by step");
    Check(refused || line == ref_line, "a line composed in one pass as step by step");
    check_line("a list line within the line capacity");
    // Written straight out, when it is, the line is the same; room is exactly what the
    // composer asks for, so AddressSanitizer sees any write past it.
    std::vector<char> room(lq::Composer::kLineRoom);
    if (char* end = composer.WriteLineTo(room.data(), i, *list.Item(i))) {
      Check(!refused, "a refused line is never written straight out");
      Check(std::string_view(room.data(), static_cast<std::size_t>(end - room.data())) == ref_line,
            "a line written straight out as step by step");
    }
    Check(!composer.refused(), "writing straight out never refuses");
    if (valid) Check(ValidUtf8(file), "a written name stays valid UTF-8");
  }
  composer.ComposePiece(line, settings.MainQueue, file, list.Count(), list.Item(list.Count() - 1));
  check_piece(line);
  composer.TakeRefusal();

  // The single line and the written name of a pending file, and the item commands.
  std::string pending = given;
  composer.ComposeLine(line, file, 0, &pending);
  check_line("a pending line within the line capacity");
  pending = given;
  composer.TakeRefusal();
  const lq::TextOrFailure single = lq::SingleLineText(composer, pending, eol);
  Check(pending.empty(), "SingleLineText empties pending");
  if (const auto* text = std::get_if<std::string>(&single); text != nullptr && valid) {
    Check(ValidUtf8(*text), "the single line stays valid UTF-8");
  }
  pending = given;
  const lq::TextOrFailure written = lq::PendingNameText(composer, pending);
  if (escape == lq::EscapeKind::None) {
    std::string expected;
    lq::WriteFileName(expected, given, settings, style, "");
    Check(std::get<std::string>(written) == expected, "the pending name is its written name");
  }
  if (!list.Empty()) {
    std::string pend;
    const lq::TextOrFailure sel = lq::SelectedItemText(composer, list);
    // Any escaping refuses a line it cannot hold whole.
    const bool may_refuse = escape != lq::EscapeKind::None;
    Check(may_refuse || std::holds_alternative<std::string>(sel),
          "a list with items has a selected text");
    const lq::TextOrFailure copy = lq::CreateAndCopySelectedText(composer, list, pend, eol);
    Check(may_refuse || std::holds_alternative<std::string>(copy),
          "a list with items has a selected line");
  }

  // The real writer, through its line-break conversion, to a device that takes anything.
  if (write_file && !list.Empty()) {
    lq::TextFileWriter out("/dev/null", eol, lq::kInvalidOutputCaption);
    Check(!out.Open().has_value(), "/dev/null opens");
    if (!lq::WriteOutput(out, composer, settings, list)) {
      Check(!out.Commit().has_value(), "/dev/null takes the output");
    }
  }
  return 0;
}
