#pragma once

#include <csignal>
#include <cstddef>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>

namespace lq {

// Temporary names are short and alike, so that any name of the folder's limit fits beside
// them and stale ones of ours are known for what they are: ".lq-XXXXXXXX.tmp".
bool IsTempName(std::string_view name);
std::string RandomTempName(std::mt19937& random);

// The temporary files of writes in progress, for a signal handler to remove: the one place
// Loomquill keeps process-wide state, since a handler can reach nothing else.
constexpr std::size_t kTempSlots = 4;
void RegisterTemp(const std::filesystem::path& path);
void UnregisterTemp(const std::filesystem::path& path);
// Slot i's path, or null; safe to call from a signal handler.
const std::filesystem::path::value_type* RegisteredTemp(std::size_t i);

}  // namespace lq
