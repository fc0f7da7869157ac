#pragma once

namespace lq {

#ifdef _WIN32
inline constexpr bool kWindowsHost = true;
#else
inline constexpr bool kWindowsHost = false;
#endif

// How file names are spelled. The GUI uses the host's style; the CLI can pick either.
enum class PathStyle { Windows, Posix };

constexpr PathStyle HostPathStyle() { return kWindowsHost ? PathStyle::Windows : PathStyle::Posix; }

// The separator that climbing, cutting and mode "name" act on.
constexpr char Separator(PathStyle style) { return style == PathStyle::Windows ? '\\' : '/'; }

// Windows names also split on '/', as the file manager accepts both there.
constexpr bool SplitsAt(char c, PathStyle style) {
  return c == '/' || (style == PathStyle::Windows && c == '\\');
}

// Line break written by "text mode" output.
enum class Eol { Lf, CrLf };

constexpr Eol NativeEol() { return kWindowsHost ? Eol::CrLf : Eol::Lf; }

}  // namespace lq
