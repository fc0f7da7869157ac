#include "platform/hand_over_message.h"

#include <algorithm>

#include "engine/capacities.h"

namespace lq {
namespace {

bool IsTokenByte(char c) { return c > ' ' && c < 0x7F; }

}  // namespace

bool IsActivationToken(std::string_view text) {
  return !text.empty() && text.size() <= kActivationTokenMax &&
         std::all_of(text.begin(), text.end(), IsTokenByte);
}

std::string HandOverMessage(std::string_view name, std::string_view activation_token) {
  std::string message(name);
  if (IsActivationToken(activation_token)) {
    message.push_back('\0');
    message.append(activation_token);
  }
  return message;
}

void HandOverMessageReader::Spoil() {
  // Nothing after this can make it a message again: drop what was kept.
  bad_ = true;
  data_.clear();
  token_.clear();
}

void HandOverMessageReader::Feed(std::string_view bytes) {
  if (bad_) return;
  if (!in_token_) {
    const std::size_t end = bytes.find('\0');
    const std::string_view name = bytes.substr(0, end);
    if (data_.size() + name.size() > kNameMax) {
      Spoil();
      return;
    }
    data_.append(name);
    if (end == std::string_view::npos) return;
    if (data_.empty()) {
      Spoil();
      return;
    }
    in_token_ = true;
    bytes.remove_prefix(end + 1);
  }
  // A second NUL is no token byte either.
  if (token_.size() + bytes.size() > kActivationTokenMax ||
      !std::all_of(bytes.begin(), bytes.end(), IsTokenByte)) {
    Spoil();
    return;
  }
  token_.append(bytes);
}

std::optional<std::string> HandOverMessageReader::Finish() const {
  if (bad_ || data_.empty() || (in_token_ && token_.empty())) return std::nullopt;
  return data_;
}

std::string HandOverMessageReader::ActivationToken() const {
  return Finish() ? token_ : std::string();
}

std::optional<std::string> ReadHandOverMessage(std::string_view message) {
  HandOverMessageReader reader;
  reader.Feed(message);
  return reader.Finish();
}

}  // namespace lq
