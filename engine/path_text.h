#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lq {

// Loomquill keeps file names as UTF-8 bytes; these convert at the file system boundary
// without touching bytes that are not valid UTF-8 on systems whose native names are bytes.
std::filesystem::path ToPath(std::string_view name);
std::string ToText(const std::filesystem::path& path);

}  // namespace lq
