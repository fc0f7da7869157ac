#!/usr/bin/env bash
# cmake --install lays Loomquill out in one folder with links in bin/, the installed programs
# run from there, install_manifest.txt lists every file and link, and removing what it lists
# leaves no file behind.
#   tests/e2e/install_test.sh BUILD_DIR
set -uo pipefail
build=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/lq-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
passes=0
failures=0
check() {
  local what=$1
  shift
  if "$@"; then passes=$((passes + 1)); else failures=$((failures + 1)); echo "FAILED: $what" >&2; fi
}

cmake --install "$build" --prefix "$prefix" >"$work/log" || {
  cat "$work/log" >&2
  echo "0 passed, 1 failed"
  exit 1
}
# The folder of the programs, wherever the libdir of this build puts it.
target=$(readlink "$prefix/bin/loomquill-cli")
lib=$(cd "$prefix/bin" && cd "$(dirname "$target")" && pwd)
check "programs in <libdir>/loomquill" test "$(basename "$lib")" = loomquill
for f in loomquill loomquill-cli; do
  check "$f in the program folder" test -x "$lib/$f"
  link=$(readlink "$prefix/bin/$f")
  check "$f linked from bin relatively" test "${link#/}" = "$link"
  check "$f link reaches the program" test "$prefix/bin/$f" -ef "$lib/$f"
done
check "no help in the program folder" test ! -e "$lib/Weftbook.html"
help=$prefix/share/help/C/loomquill/Weftbook.html
check "help in the desktop's help folder" test -f "$help"
# F1 reaches it by the path compiled into the program, from the program folder.
from_program=$(strings -a "$lib/loomquill" | grep -m1 '/share/help/C/loomquill/$')
check "the program's path to its help leads to it" test "$lib/$from_program/Weftbook.html" -ef "$help"
check "templates beside the program" test -f "$lib/M3U playlist.hqd"
check "template folders kept" test -f "$lib/More/Numbered list.hqd"
check "no templates folder" test ! -e "$lib/templates"
check "license where packages keep it" grep -q 'Permission is hereby granted' \
  "$prefix/share/doc/loomquill/copyright"
# The installed CLI finds the installed templates beside itself, through the link.
check "installed CLI lists its templates" grep -q '^[0-9]* M3U playlist$' \
  <("$prefix/bin/loomquill-cli" --list-templates)
check "manual names the installed folder" grep -qF "$lib/" \
  <(zcat "$prefix/share/man/man1/loomquill-cli.1.gz")

# What the install wrote is what the manifest lists, links included, and nothing else.
manifest=$build/install_manifest.txt
check "manifest lists the links" grep -qx "$prefix/bin/loomquill" "$manifest"
(cd "$prefix" && find . ! -type d | sed "s|^\.|$prefix|" | sort) >"$work/installed"
sort "$manifest" >"$work/listed"
check "manifest lists every installed file" diff "$work/listed" "$work/installed"
tr '\n' '\0' <"$manifest" | xargs -0 rm -f --
check "removing the listed files leaves none" test -z "$(find "$prefix" ! -type d)"
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
