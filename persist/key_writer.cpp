#include "persist/key_writer.h"

#include "engine/text_helpers.h"

namespace lq {

void KeyWriter::Text(std::string_view key, std::string_view value) {
  if (document_.Write(section_, key, value)) return;
  if (!refused_.empty()) refused_ += ", ";
  refused_ += key;
}

void KeyWriter::Int(std::string_view key, std::int32_t value) { Text(key, IntToText(value)); }

std::string KeyWriter::Refused() const {
  if (refused_.empty()) return {};
  return "a line break or NUL cannot be stored in " + refused_;
}

}  // namespace lq
