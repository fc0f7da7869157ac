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

std::string HandOverMessage(const std::vector<std::string>& names,
                            std::string_view activation_token) {
  std::string message;
  if (IsActivationToken(activation_token)) message.append(activation_token);
  message.push_back('\0');
  for (const std::string& name : names) {
    message.append(name);
    message.push_back('\0');
  }
  return message;
}

void HandOverMessageReader::Spoil() {
  // Nothing after this can make it a message again: drop what was kept.
  bad_ = true;
  message_ = {};
  field_.clear();
  field_.shrink_to_fit();
  kept_ = 0;
}

void HandOverMessageReader::EndField() {
  if (!in_names_) {
    in_names_ = true;
    message_.activation_token.swap(field_);
  } else if (field_.empty() || message_.names.size() == kHandOverNamesMax) {
    Spoil();
    return;
  } else {
    message_.names.push_back(std::move(field_));
  }
  kept_ += message_.names.empty() ? message_.activation_token.size() : message_.names.back().size();
  field_.clear();
}

void HandOverMessageReader::Feed(std::string_view bytes) {
  while (!bad_ && !bytes.empty()) {
    const std::size_t end = bytes.find('\0');
    const std::string_view part = bytes.substr(0, end);
    // Checked before anything is kept, so a flood costs no memory.
    const bool fits = in_names_ ? field_.size() + part.size() <= kNameMax
                                : field_.size() + part.size() <= kActivationTokenMax &&
                                      std::all_of(part.begin(), part.end(), IsTokenByte);
    if (!fits) {
      Spoil();
      return;
    }
    field_.append(part);
    if (end == std::string_view::npos) return;
    EndField();
    bytes.remove_prefix(end + 1);
  }
}

std::optional<HandOver> HandOverMessageReader::Finish() const {
  if (bad_ || !field_.empty() || message_.names.empty()) return std::nullopt;
  return message_;
}

std::optional<HandOver> ReadHandOverMessage(std::string_view message) {
  HandOverMessageReader reader;
  reader.Feed(message);
  return reader.Finish();
}

}  // namespace lq
