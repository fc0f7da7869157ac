// Feeds arbitrary bytes to the hand-over message reader, as one piece and in pieces of the
// sizes a socket may deliver, and checks that a name comes out exactly when the bytes are a
// name and maybe a token, byte for byte, while the reader never keeps more than they hold.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "engine/capacities.h"
#include "platform/hand_over_message.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz_hand_over: invariant broken: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte chooses the piece sizes; the rest is the message.
  if (size == 0) return 0;
  const std::size_t step = data[0] % 16 + 1;
  const std::string_view message(reinterpret_cast<const char*>(data) + 1, size - 1);

  // A name, then after a NUL an activation token.
  const std::size_t nul = message.find('\0');
  const std::string_view name = message.substr(0, nul);
  const bool is_name =
      !name.empty() && name.size() <= lq::kNameMax &&
      (nul == std::string_view::npos || lq::IsActivationToken(message.substr(nul + 1)));
  const std::optional<std::string> whole = lq::ReadHandOverMessage(message);
  Check(whole.has_value() == is_name, "a name exactly when the message is one");
  if (whole) Check(*whole == name, "the name is the message's name byte for byte");

  lq::HandOverMessageReader reader;
  std::size_t at = 0;
  for (std::size_t piece = 0; at < message.size(); ++piece) {
    // Pieces grow and shrink, as reads from a socket do.
    const std::size_t length = step * (piece % 3 + 1);
    reader.Feed(message.substr(at, length));
    at += length;
    Check(reader.kept() <= lq::kNameMax + lq::kActivationTokenMax,
          "no more kept than a name and a token hold");
  }
  Check(reader.Finish() == whole, "pieces give what the whole gives");
  if (whole && nul != std::string_view::npos) {
    Check(reader.ActivationToken() == message.substr(nul + 1), "the token after the NUL");
  }
  // A name and its NUL wait for the token: a token fed then completes the message. Nothing
  // fed after any other message that is no name makes it one.
  const bool waits_for_token = !name.empty() && name.size() <= lq::kNameMax &&
                               nul != std::string_view::npos && nul + 1 == message.size();
  if (waits_for_token) {
    reader.Feed("/a");
    Check(reader.Finish() == name, "a token completes a message waiting for it");
    Check(reader.ActivationToken() == "/a", "the token fed last is the message's token");
  } else if (!is_name && !message.empty()) {
    reader.Feed("/a");
    Check(!reader.Finish().has_value(), "a spoiled message stays spoiled");
  }
  return 0;
}
