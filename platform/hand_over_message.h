#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lq {

// A hand-over message is a file name's bytes, ended by the end of the sender's stream.
// Reads one as it arrives, in pieces of any size, keeping no more than a name can hold.
class HandOverMessageReader {
 public:
  void Feed(std::string_view bytes);
  // At the end of the stream: the name when the message is one (1 to 999 bytes, no NUL),
  // byte for byte; nothing for anything else.
  std::optional<std::string> Finish() const;
  // Bytes kept so far: never more than a name holds.
  std::size_t kept() const { return data_.size(); }

 private:
  std::string data_;
  bool bad_ = false;
};

// The name a whole message carries, as HandOverMessageReader gives it.
std::optional<std::string> ReadHandOverMessage(std::string_view message);

}  // namespace lq
