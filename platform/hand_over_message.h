#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lq {

// A hand-over message carries every file name of one start, in the order given, and the
// activation token that start was given (a Wayland compositor's leave to take the focus,
// which a file manager hands the programs it starts). Each field ends with a NUL: first the
// token (empty without one), then the names; the sender's stream ends after the last NUL.
inline constexpr std::size_t kActivationTokenMax = 255;
// Names one message may carry: far more than a file manager's selection, and a bound on what
// a listener keeps for one sender.
inline constexpr std::size_t kHandOverNamesMax = 10000;

// Whether text can be an activation token: 1 to 255 bytes of printable ASCII, no space.
bool IsActivationToken(std::string_view text);

struct HandOver {
  std::vector<std::string> names;  // each 1 to 999 bytes, no NUL, byte for byte
  std::string activation_token;    // empty without one
  bool operator==(const HandOver&) const = default;
};

// The message that hands names over (each 1 to 999 bytes without a NUL, at most
// kHandOverNamesMax of them), with the token when it is one.
std::string HandOverMessage(const std::vector<std::string>& names,
                            std::string_view activation_token);

// Reads one message as it arrives, in pieces of any size, keeping no more than its names and
// token can hold.
class HandOverMessageReader {
 public:
  void Feed(std::string_view bytes);
  // At the end of the stream: the names and token when the message is one (1 to
  // kHandOverNamesMax names of 1 to 999 bytes, a token or nothing before them, every field
  // ended by its NUL); nothing for anything else.
  std::optional<HandOver> Finish() const;
  // Bytes kept so far: never more than kHandOverNamesMax names and a token hold.
  std::size_t kept() const { return kept_ + field_.size(); }

 private:
  void Spoil();
  void EndField();

  HandOver message_;
  std::string field_;
  std::size_t kept_ = 0;
  bool in_names_ = false;
  bool bad_ = false;
};

// What a whole message carries, as HandOverMessageReader gives it.
std::optional<HandOver> ReadHandOverMessage(std::string_view message);

}  // namespace lq
