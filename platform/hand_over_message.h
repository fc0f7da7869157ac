#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lq {

// A hand-over message is a file name's bytes, ended by the end of the sender's stream. A
// start that was given an activation token (a Wayland compositor's leave to take the focus,
// which a file manager hands the programs it starts) adds a NUL and the token after the name.
inline constexpr std::size_t kActivationTokenMax = 255;

// Whether text can be an activation token: 1 to 255 bytes of printable ASCII, no space.
bool IsActivationToken(std::string_view text);

// The message that hands name over, with the token when it is one.
std::string HandOverMessage(std::string_view name, std::string_view activation_token);

// Reads one message as it arrives, in pieces of any size, keeping no more than a name and a
// token can hold.
class HandOverMessageReader {
 public:
  void Feed(std::string_view bytes);
  // At the end of the stream: the name when the message is one (1 to 999 bytes, no NUL, and
  // after a NUL a token), byte for byte; nothing for anything else.
  std::optional<std::string> Finish() const;
  // The token after the name; empty without one, or when Finish gives nothing.
  std::string ActivationToken() const;
  // Bytes kept so far: never more than a name and a token hold.
  std::size_t kept() const { return data_.size() + token_.size(); }

 private:
  void Spoil();

  std::string data_;
  std::string token_;
  bool in_token_ = false;
  bool bad_ = false;
};

// The name a whole message carries, as HandOverMessageReader gives it.
std::optional<std::string> ReadHandOverMessage(std::string_view message);

}  // namespace lq
