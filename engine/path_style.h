#pragma once

namespace lq {

#ifdef _WIN32
inline constexpr bool kWindowsHost = true;
#else
inline constexpr bool kWindowsHost = false;
#endif

// How file names are spelled. The GUI uses the host's style; the CLI can pick either.
enum class PathStyle { kWindows, kPosix };

constexpr PathStyle HostPathStyle() {
  return kWindowsHost ? PathStyle::kWindows : PathStyle::kPosix;
}

// The separator that climbing, cutting and mode "name" act on.
constexpr char Separator(PathStyle style) { return style == PathStyle::kWindows ? '\\' : '/'; }

// Windows names also split on '/', as the file manager accepts both there.
constexpr bool SplitsAt(char c, PathStyle style) {
  return c == '/' || (style == PathStyle::kWindows && c == '\\');
}

// Line break written by "text mode" output.
enum class Eol { kLf, kCrLf };

constexpr Eol NativeEol() { return kWindowsHost ? Eol::kCrLf : Eol::kLf; }

}  // namespace lq
