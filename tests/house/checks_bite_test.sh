#!/bin/sh
# checks_bite_test.sh BUILD ROOT: the format and tidy checks fail on a fault planted in a copy
# of ROOT (never in ROOT itself) and pass on the clean copy; the tidy check sees headers.
set -eu
build=$(cd "$1" && pwd)
root=$(cd "$2" && pwd)
tools=$root/tools
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
copy=$tmp/src
mkdir "$copy"
for part in engine persist cli platform uikit shell resources about tests fuzz bench \
  .clang-format .clang-tidy; do
  cp -R "$root/$part" "$copy/"
done

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# expect_pass NAME COMMAND...: COMMAND succeeds.
expect_pass() {
  name=$1
  shift
  "$@" >"$tmp/out" 2>&1 || { fail "$name fails on the clean copy:" && cat "$tmp/out"; }
}
# expect_fault NAME WORD COMMAND...: COMMAND fails and its output names WORD.
expect_fault() {
  name=$1 word=$2
  shift 2
  if "$@" >"$tmp/out" 2>&1; then
    fail "$name passes with a planted fault"
  elif ! grep -q "$word" "$tmp/out"; then
    fail "$name fails, but not for $word:" && cat "$tmp/out"
  fi
}
# plant FILE TEXT: appends TEXT to FILE of the copy, keeping the clean file to restore.
plant() {
  cp "$copy/$1" "$tmp/clean"
  printf '%s\n' "$2" >>"$copy/$1"
}
restore() { cp "$tmp/clean" "$copy/$1"; }

# Format: a line clang-format writes otherwise, in a header and in a source of each kind.
expect_pass "format check" "$tools/check-format.sh" "$copy"
for file in about/about_text.h engine/text_helpers.cpp tests/engine/escape_test.cpp; do
  plant "$file" 'namespace lq { int  PlantedBadlySpaced( ) ; }'
  expect_fault "format check of $file" "$file" "$tools/check-format.sh" "$copy"
  restore "$file"
done
expect_pass "format check after restoring" "$tools/check-format.sh" "$copy"

# Tidy: the copy's sources compiled as the build compiles the real ones, with the copy's
# headers first; the build's own folder (generated headers) stays where it is.
mkdir "$tmp/build"
sed -e "s|$build|@BUILD@|g" -e "s|$root|$copy|g" -e "s|@BUILD@|$build|g" \
  "$build/compile_commands.json" >"$tmp/build/compile_commands.json"
tidy() { "$tools/check-tidy.sh" "$tmp/build" "$copy" engine/text_helpers.cpp; }
expect_pass "tidy check" tidy
plant engine/text_helpers.h 'namespace lq { inline const char* PlantedNull() { return NULL; } }'
expect_fault "tidy check of a header" "text_helpers.h:.*modernize-use-nullptr" tidy
restore engine/text_helpers.h
plant engine/text_helpers.cpp 'namespace lq { const char* PlantedNull() { return NULL; } }'
expect_fault "tidy check of a source" "text_helpers.cpp:.*modernize-use-nullptr" tidy
restore engine/text_helpers.cpp
expect_pass "tidy check after restoring" tidy

# The header filter of .clang-tidy leaves out wxWidgets' persist/ even when its headers are
# not system headers (-I, as wx-config gives them); any filter at all would report them.
printf '#include <wx/persist/toplevel.h>\n' >"$copy/probe.cpp"
# shellcheck disable=SC2046 # wx-config's flags are words to split
probe() { clang-tidy --quiet "$@" "$copy/probe.cpp" -- -std=c++20 $(wx-config --cxxflags); }
expect_pass "tidy of a file including wx/persist/" probe
expect_fault "tidy of wx/persist/ with every header" "wx/persist/" probe --header-filter='.*'

# Names the filter takes and leaves, as clang-tidy sees them: its regex is POSIX extended.
regex=$(sed -n "s/^HeaderFilterRegex: '\(.*\)'$/\1/p" "$copy/.clang-tidy")
[ -n "$regex" ] || fail "no HeaderFilterRegex in .clang-tidy"
while read -r want name; do
  if printf '%s\n' "$name" | grep -Eq "$regex"; then got=take; else got=leave; fi
  [ "$got" = "$want" ] || fail "header filter should $want $name"
done <<EOF
take $root/engine/line_writer.h
take $root/uikit/grafext/white_center_dlg.h
take $root/build/about/generated/about/program_version.h
take /u/shell/dlg.h
take /usr2/cli/options.h
take engine/paths.h
leave /usr/include/wx-3.2/wx/persist/toplevel.h
leave /usr/include/x86_64-linux-gnu/sys/platform/x86.h
leave /usr/include/x86_64-linux-gnu/bits/platform/x86.h
leave /usr/include/gtest/gtest.h
leave /usr/local/include/engine/paths.h
leave $root/tests/support/temp_dir.h
leave /work/myshell/dlg.h
leave /eengine/paths.h
EOF

[ "$failures" -eq 0 ] || exit 1
echo "the format and tidy checks fail on each planted fault and pass on the clean copy"
