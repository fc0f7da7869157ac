#include "engine/temp_files.h"

#include <atomic>
#include <cstring>

namespace lq {
namespace {

constexpr std::string_view kTempPrefix = ".lq-";
constexpr std::string_view kTempSuffix = ".tmp";
constexpr std::size_t kTempRandom = 8;

using Char = std::filesystem::path::value_type;
constexpr std::size_t kTempPathMax = 4096;
Char g_temp_paths[kTempSlots][kTempPathMax];
volatile std::sig_atomic_t g_temp_used[kTempSlots];

}  // namespace

bool IsTempName(std::string_view name) {
  if (name.size() != kTempPrefix.size() + kTempRandom + kTempSuffix.size()) return false;
  if (!name.starts_with(kTempPrefix) || !name.ends_with(kTempSuffix)) return false;
  for (const char c : name.substr(kTempPrefix.size(), kTempRandom)) {
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

std::string RandomTempName(std::mt19937& random) {
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string name(kTempPrefix);
  for (std::size_t i = 0; i < kTempRandom; ++i) name.push_back(kChars[random() % 36]);
  name += kTempSuffix;
  return name;
}

void RegisterTemp(const std::filesystem::path& path) {
  const auto& native = path.native();
  if (native.size() >= kTempPathMax) return;
  for (std::size_t i = 0; i < kTempSlots; ++i) {
    if (g_temp_used[i] == 0) {
      std::memcpy(g_temp_paths[i], native.c_str(), (native.size() + 1) * sizeof(Char));
      // A handler that sees the slot in use must see the whole name in it.
      std::atomic_signal_fence(std::memory_order_release);
      g_temp_used[i] = 1;
      return;
    }
  }
}

void UnregisterTemp(const std::filesystem::path& path) {
  for (std::size_t i = 0; i < kTempSlots; ++i) {
    if (g_temp_used[i] != 0 && path.native() == g_temp_paths[i]) g_temp_used[i] = 0;
  }
}

const Char* RegisteredTemp(std::size_t i) {
  if (i >= kTempSlots || g_temp_used[i] == 0) return nullptr;
  std::atomic_signal_fence(std::memory_order_acquire);
  return g_temp_paths[i];
}

}  // namespace lq
