#include "platform/hand_over_message.h"

#include "engine/capacities.h"

namespace lq {

void HandOverMessageReader::Feed(std::string_view bytes) {
  if (bad_) return;
  if (bytes.find('\0') != std::string_view::npos || data_.size() + bytes.size() > kNameMax) {
    // Nothing after this can make it a name again: drop what was kept.
    bad_ = true;
    data_.clear();
    return;
  }
  data_.append(bytes);
}

std::optional<std::string> HandOverMessageReader::Finish() const {
  if (bad_ || data_.empty()) return std::nullopt;
  return data_;
}

std::optional<std::string> ReadHandOverMessage(std::string_view message) {
  HandOverMessageReader reader;
  reader.Feed(message);
  return reader.Finish();
}

}  // namespace lq
