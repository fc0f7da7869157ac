#!/usr/bin/env bash
# Takes the README's picture of the main window under a virtual X server into docs/.
#   tools/screenshot.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
if ! command -v import >/dev/null; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get install -y -qq imagemagick >/dev/null
fi
cmake --build "$build" --target lq_shell_test >/dev/null
LQ_SHOTS_DIR="$root/docs" xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/tests/lq_shell_test" --gtest_filter='ScreenshotTest.*' >/dev/null 2>&1
echo "wrote $root/docs/main-window.png"
