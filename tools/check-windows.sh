#!/bin/sh
# Cross-builds the engine, the profile files and loomquill-cli for Windows with mingw-w64,
# then runs their tests and a smoke test of loomquill-cli under wine.
set -eu
build=${1:-build-windows}
case $build in /*) ;; *) build="$(pwd)/$build" ;; esac
src=$(cd "$(dirname "$0")/.." && pwd)
# Arguments and file names pass between the shell and wine as UTF-8.
export WINEPREFIX="$build/wine" WINEDEBUG=-all LC_ALL=C.UTF-8
mkdir -p "$WINEPREFIX"
cmake -S "$src" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$src/tools/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLQ_GUI=OFF -DLQ_TESTS=ON -DLQ_WERROR=ON \
  -DLQ_GTEST_SOURCE=/usr/src/googletest >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"
# A prefix of our own, made once and before the tests, and one wine server for the whole run.
[ -f "$WINEPREFIX/system.reg" ] || { wineboot --init >/dev/null 2>&1; wineserver -w; }
# Its services start here, so that they hold no pipe of a test's.
wineserver -p
wine cmd /c exit >/dev/null 2>&1 </dev/null
trap 'wineserver -k 2>/dev/null || true' EXIT
(cd "$build" && ctest --output-on-failure -j 2)

echo "Smoke test of loomquill-cli.exe under wine"
cli="$build/bin/loomquill-cli.exe"
work=$(mktemp -d)
trap 'rm -rf "$work"; wineserver -k 2>/dev/null || true' EXIT
fail() { echo "check-windows: $*" >&2; exit 1; }
[ "$(wine "$cli" --version | head -n 1 | tr -d '\r')" = "loomquill-cli (Loomquill) $(sed -n 's/^project(Loomquill VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")" ] ||
  fail "--version"
wine "$cli" --eol lf --mode name --queue '
' 'C:\m\a.flac' 'C:\m\b.flac' >"$work/lf"
printf 'a.flac\nb.flac\n' | cmp -s - "$work/lf" || fail "--eol lf does not write LF alone"
wine "$cli" --eol crlf --mode name --queue '
' 'C:\m\a.flac' >"$work/crlf"
printf 'a.flac\r\n' | cmp -s - "$work/crlf" || fail "--eol crlf does not write CR LF"
(cd "$work" && wine "$cli" --output 'Ausgabe ü☃.txt' --header '<' --queue '>' 'ü' '☃') ||
  fail "--output with a name of any character"
printf '<ü><☃>' | cmp -s - "$work/Ausgabe ü☃.txt" || fail "arguments do not arrive as UTF-8"
(cd "$work" && wine "$cli" --list-templates) | grep -q 'M3U playlist' ||
  fail "--list-templates does not look beside the executable"
echo "check-windows: all passed"
