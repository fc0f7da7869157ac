#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

namespace lq {

// Bytes past the end of every view FileValues gives that may be read: short copies move
// whole 16-byte blocks instead of calling memcpy for a few bytes.
inline constexpr std::size_t kReadSlack = 16;

// A text kept with kReadSlack readable bytes after it; the storage only grows.
class PaddedText {
 public:
  void Assign(std::string_view text) {
    if (buf_.size() < text.size() + kReadSlack) buf_.resize(text.size() + kReadSlack);
    if (!text.empty()) std::memcpy(buf_.data(), text.data(), text.size());
    size_ = text.size();
  }
  // a then b, as one text.
  void AssignJoined(std::string_view a, std::string_view b) {
    if (buf_.size() < a.size() + b.size() + kReadSlack)
      buf_.resize(a.size() + b.size() + kReadSlack);
    if (!a.empty()) std::memcpy(buf_.data(), a.data(), a.size());
    if (!b.empty()) std::memcpy(buf_.data() + a.size(), b.data(), b.size());
    size_ = a.size() + b.size();
  }
  // Room for n bytes, which become the text.
  char* Resize(std::size_t n) {
    if (buf_.size() < n + kReadSlack) buf_.resize(n + kReadSlack);
    size_ = n;
    return buf_.data();
  }
  char* data() { return buf_.data(); }
  std::string_view view() const { return std::string_view(buf_.data(), size_); }

 private:
  std::vector<char> buf_ = std::vector<char>(kReadSlack);
  std::size_t size_ = 0;
};

}  // namespace lq
