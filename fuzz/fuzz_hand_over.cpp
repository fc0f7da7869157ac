// Feeds arbitrary bytes to the hand-over message reader, as one piece and in pieces of the
// sizes a socket may deliver, and checks that names come out exactly when the bytes are a
// message (a token or nothing, then names, each field ended by a NUL), byte for byte and in
// order, while the reader never keeps more than a message holds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/capacities.h"
#include "platform/hand_over_message.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz_hand_over: invariant broken: %s\n", what);
    std::abort();
  }
}

// The message by its definition, field by field.
std::optional<lq::HandOver> Expected(std::string_view message) {
  if (message.empty() || message.back() != '\0') return std::nullopt;
  std::vector<std::string_view> fields;
  std::size_t at = 0;
  while (at < message.size()) {
    const std::size_t end = message.find('\0', at);
    fields.push_back(message.substr(at, end - at));
    at = end + 1;
  }
  if (fields.size() < 2 || fields.size() - 1 > lq::kHandOverNamesMax) return std::nullopt;
  if (!fields[0].empty() && !lq::IsActivationToken(fields[0])) return std::nullopt;
  lq::HandOver expected{{}, std::string(fields[0])};
  for (std::size_t i = 1; i < fields.size(); ++i) {
    if (fields[i].empty() || fields[i].size() > lq::kNameMax) return std::nullopt;
    expected.names.emplace_back(fields[i]);
  }
  return expected;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte chooses the piece sizes; the rest is the message.
  if (size == 0) return 0;
  const std::size_t step = data[0] % 16 + 1;
  const std::string_view message(reinterpret_cast<const char*>(data) + 1, size - 1);

  const std::optional<lq::HandOver> expected = Expected(message);
  const std::optional<lq::HandOver> whole = lq::ReadHandOverMessage(message);
  Check(whole == expected, "a message exactly when the bytes are one, names byte for byte");
  if (whole) {
    Check(lq::HandOverMessage(whole->names, whole->activation_token) == message,
          "the message made of what was read is the message read");
  }

  lq::HandOverMessageReader reader;
  std::size_t at = 0;
  for (std::size_t piece = 0; at < message.size(); ++piece) {
    // Pieces grow and shrink, as reads from a socket do.
    const std::size_t length = step * (piece % 3 + 1);
    reader.Feed(message.substr(at, length));
    at += length;
    Check(reader.kept() <= lq::kHandOverNamesMax * lq::kNameMax + lq::kActivationTokenMax,
          "no more kept than a message holds");
    Check(reader.kept() <= at, "no more kept than was fed");
  }
  Check(reader.Finish() == whole, "pieces give what the whole gives");
  // Reading on is reading the longer message: one more name completes a message that lacks
  // only names, and nothing makes bytes that can begin no message one.
  const std::string_view more =
      (data[0] & 0x80) != 0 ? std::string_view("\0/a\0", 4) : std::string_view("/a\0", 3);
  reader.Feed(more);
  Check(reader.Finish() == Expected(std::string(message).append(more)),
        "what is fed later reads as the longer message");
  return 0;
}
