#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace lq {

// Loomquill keeps file names as UTF-8 bytes; these convert at the file system boundary
// without touching bytes that are not valid UTF-8 on systems whose native names are bytes.
std::filesystem::path ToPath(std::string_view name);
std::string ToText(const std::filesystem::path& path);

// fopen for a path of any characters: Windows' narrow fopen knows only the ANSI code page.
std::FILE* OpenStdioFile(const std::filesystem::path& path, const char* mode);

// An environment variable as UTF-8 text, or nothing when it is not set.
std::optional<std::string> EnvironmentText(const char* name);

}  // namespace lq
