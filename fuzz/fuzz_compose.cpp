// Feeds arbitrary texts, names and settings to the composer and the output functions.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>
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
#include "tests/engine/compose_reference.h"

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

// Words spliced into texts and names, so that values holding variables' names and junctions
// of texts and values (a literal "ZQ" before a value "_NAME", a value "ZQ_" before a literal
// "NAME", an empty value between "ZQ_" and "NAME") come up far more often than by chance.
constexpr const char* kWords[] = {
    "ZQ_DRIVE",    "ZQ_PATH", "ZQ_NAME", "ZQ_EXT", "ZQ_RELPATH", "ZQ_GETSELINDEX",
    "ZQ_GETCOUNT", "ZQ_",     "ZQ",      "_NAME",
    "\n",  // LF and CR stand for themselves
    "NAME",        "Z",       "\r",      "/",      "\\",         ".",
    "\r\n",        "'",       "\""};

// A random string where a byte below 0x14 stands for one of kWords: ConsumeRandomLengthString
// alone rarely spells a whole name.
std::string Field(FuzzedDataProvider& in, bool words) {
  std::string raw = in.ConsumeRandomLengthString(kFieldMax);
  if (!words) return raw;
  std::string out;
  for (const char c : raw) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < std::size(kWords)) {
      out += kWords[byte];
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::uint8_t flags = in.ConsumeIntegral<std::uint8_t>();
  // Modes 0..3 and a few values outside them, which act as full path.
  static constexpr std::int32_t kModes[] = {0, 1, 2, 3, -1, 4, 1 << 30};
  const std::int32_t mode = in.PickValueInArray(kModes);
  const bool invert = (flags & 1) != 0;
  const lq::PathStyle style = (flags & 2) != 0 ? lq::PathStyle::kWindows : lq::PathStyle::kPosix;
  const lq::Eol eol = (flags & 4) != 0 ? lq::Eol::kCrLf : lq::Eol::kLf;
  const bool write_file = (flags & 8) != 0;
  // Bits 4 to 6 choose the escaping; 7 acts as none.
  const int kind = (flags >> 4) & 7;
  const lq::EscapeKind escape = kind < static_cast<int>(lq::kEscapeWords.size())
                                    ? static_cast<lq::EscapeKind>(kind)
                                    : lq::EscapeKind::kNone;
  // Bit 7: bytes below 0x14 of texts and names stand for kWords.
  const bool words = (flags & 0x80) != 0;

  lq::ScriptSettings settings;
  settings.CheckIndex = mode;
  settings.InvertSlash = invert;
  settings.Escape = escape;
  settings.RelPath = Field(in, words);
  settings.MainHead = Field(in, words);
  settings.MainQueue = Field(in, words);
  const std::string header = Field(in, words);
  const std::string queue = Field(in, words);
  const int count = in.ConsumeIntegralInRange(0, 4);
  // After the count, so that the seeds keep their layout. The current folder relative names are
  // taken from: none, tidy ones, and untidy ones that only the general way relates.
  static constexpr const char* kBases[] = {"",       "/",          "/home/u/", "/w/./x/",
                                           "/w//x/", "/w/x/../y/", "/w/x"};
  const std::string base = in.PickValueInArray(kBases);
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back(Field(in, words));
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

  lq::Composer composer(settings, style, eol, header, queue, &list);
  composer.SetRelativeBase(base);
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

  // The same texts composed by the plain reference: both ways of the composer must agree.
  lq::test::ReferenceComposer reference(settings, style, eol, header, queue);
  reference.SetRelativeBase(base);

  // The output, as WriteOutput composes it, checked piece by piece.
  // Both refuse the same names, and agree on whatever they do not refuse.
  auto same_refusal = [&](const lq::test::Composed& want, const char* what) {
    Check(composer.TakeRefusal().ok() != want.refused, what);
    return want.refused;
  };
  {
    // Without an item the file buffer keeps what it held: nothing yet.
    const std::string first = list.Empty() ? std::string() : *list.Item(0);
    composer.ComposePiece(line, settings.MainHead, file, 0);
    const lq::test::Composed head = reference.Piece(settings.MainHead, first, 0);
    const bool head_refused = same_refusal(head, "the main head refused as by the reference");
    Check(head_refused || line == head.text, "the main head composed as by the reference");
    Check(file == head.written, "the main head leaves the written name");
    check_piece(line);
  }
  for (int i = 0; i < list.Count(); ++i) {
    composer.ComposeLine(line, file, i);
    const lq::test::Composed want = reference.Line(*list.Item(i), i);
    const bool refused = same_refusal(want, "a line refused as by the reference");
    Check(refused || line == want.text, "a line composed as by the reference");
    Check(file == want.written, "a line leaves the written name");
    check_line("a list line within the line capacity");
    // Written straight out, when it is, the line is the same; room is exactly what the
    // composer asks for, so AddressSanitizer sees any write past it.
    std::vector<char> room(lq::Composer::kLineRoom);
    if (char* end = composer.WriteLineTo(room.data(), i, *list.Item(i))) {
      Check(!refused, "a refused line is never written straight out");
      Check(std::string_view(room.data(), static_cast<std::size_t>(end - room.data())) == want.text,
            "a line written straight out as by the reference");
    } else {
      // Only a line that does not fit, or a refused one, goes the general way.
      Check(refused || want.text.size() + 3 >= lq::kLineMax, "a fitting line written straight out");
    }
    Check(!composer.refused(), "writing straight out never refuses");
    if (valid) Check(ValidUtf8(file), "a written name stays valid UTF-8");
  }
  if (!list.Empty()) {
    const std::string& last = *list.Item(list.Count() - 1);
    composer.ComposePiece(line, settings.MainQueue, file, list.Count(), &last);
    const lq::test::Composed tail = reference.Piece(settings.MainQueue, last, list.Count());
    const bool tail_refused = same_refusal(tail, "the main queue refused as by the reference");
    Check(tail_refused || line == tail.text, "the main queue composed as by the reference");
    check_piece(line);
  }

  // The single line and the written name of a pending file, and the item commands.
  std::string pending = given;
  composer.ComposeLine(line, file, 0, &pending);
  check_line("a pending line within the line capacity");
  pending = given;
  (void)composer.TakeRefusal();
  const lq::Result<std::string> single = lq::SingleLineText(composer, pending);
  if (single.ok() && valid) Check(ValidUtf8(single.value()), "the single line stays valid UTF-8");
  pending = given;
  const lq::Result<std::string> written = lq::PendingNameText(composer, pending);
  if (escape == lq::EscapeKind::kNone) {
    std::string expected;
    lq::WriteFileName(expected, given, settings, style, base);
    Check(written.ok() && written.value() == expected, "the pending name is its written name");
  }
  if (!list.Empty()) {
    const lq::Result<std::string> sel = lq::SelectedItemText(composer, list);
    // Any escaping refuses a line it cannot hold whole.
    const bool may_refuse = escape != lq::EscapeKind::kNone;
    Check(may_refuse || sel.ok(), "a list with items has a selected text");
    const lq::Result<std::string> copy = lq::CreateAndCopySelectedText(composer, list);
    Check(may_refuse || copy.ok(), "a list with items has a selected line");
  }

  // The real writer, to a device that takes anything.
  if (write_file && !list.Empty()) {
    lq::TextFileWriter out("/dev/null", lq::kInvalidOutputCaption);
    Check(out.Open().ok(), "/dev/null opens");
    if (lq::WriteOutput(out, composer, settings, list).ok()) {
      Check(out.Commit().ok(), "/dev/null takes the output");
    }
  }
  return 0;
}
