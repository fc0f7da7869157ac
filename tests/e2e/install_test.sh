#!/usr/bin/env bash
# cmake --install lays Loomquill out in one folder with links, templates, help and a desktop
# entry, and the installed programs run from there.
#   tests/e2e/install_test.sh BUILD_DIR
set -uo pipefail
build=$1
prefix=$(mktemp -d "${TMPDIR:-/tmp}/lq-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
passes=0
failures=0
check() {
  local what=$1
  shift
  if "$@"; then passes=$((passes + 1)); else failures=$((failures + 1)); echo "FAILED: $what" >&2; fi
}

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "0 passed, 1 failed"; exit 1; }
lib="$prefix/lib/loomquill"
for f in loomquill loomquill-cli; do
  check "$f in lib/loomquill" test -x "$lib/$f"
  check "$f linked from bin" test "$(readlink "$prefix/bin/$f")" = "../lib/loomquill/$f"
done
check "help beside the program" test -f "$lib/Weftbook.html"
check "templates beside the program" test -f "$lib/M3U playlist.hqd"
check "template folders kept" test -f "$lib/More/Numbered list.hqd"
check "no templates folder" test ! -e "$lib/templates"
desktop="$prefix/share/applications/loomquill.desktop"
check "desktop entry" grep -qx 'Exec=loomquill %f' "$desktop"
check "desktop entry icon" test -f "$prefix/share/pixmaps/loomquill.xpm"
# The installed CLI finds the installed templates beside itself, through the link.
check "installed CLI lists its templates" grep -q '^[0-9]* M3U playlist$' \
  <("$prefix/bin/loomquill-cli" --list-templates)
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
