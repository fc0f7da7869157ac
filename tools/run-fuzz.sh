#!/usr/bin/env bash
# Runs every libFuzzer target of BIN_DIR for SECONDS each (default 60); exits non-zero when
# any target crashed, hung, leaked or ran out of memory. Corpora and findings stay in
# build-fuzz/corpus/<target>/ and build-fuzz/findings/<target>/ (LQ_FUZZ_DIR moves them).
#   tools/run-fuzz.sh BIN_DIR [SECONDS]
set -uo pipefail

if [ $# -lt 1 ] || [ ! -d "$1" ]; then
  echo "usage: $0 BIN_DIR [SECONDS]" >&2
  exit 2
fi
bin=$(cd "$1" && pwd)
seconds=${2:-60}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
base=${LQ_FUZZ_DIR:-$root/build-fuzz}

# seed DIR NAME TEXT: one seed file, written only once so a grown corpus keeps its own.
seed() {
  [ -e "$1/$2" ] || printf '%s' "$3" >"$1/$2"
}

# compose_seed FILE FLAGS MODE GIVEN RELPATH MAIN_HEAD MAIN_QUEUE HEADER QUEUE [NAME...]:
# bytes laid out as fuzz_compose reads them with FuzzedDataProvider (texts from the front,
# each ended by a backslash and one more byte; the integers from the back).
compose_seed() {
  local file=$1 flags=$2 mode=$3 given=$4 text
  shift 4
  [ -e "$file" ] && return
  {
    for text in "$@"; do printf '%s\\x' "${text//\\/\\\\}"; done
    printf '%s' "$given"
    printf '%b' "\\x$(printf %02x $(($# - 5)))\\x$(printf %02x "$mode")\\x$(printf %02x "$flags")"
  } >"$file"
}

# shellcheck disable=SC1003  # Windows names end in a backslash
seed_compose() {
  compose_seed "$1/copy" 0 0 '/home/u/one.txt' '/home/u/' $'#!/bin/sh\r\n' $'echo done\r\n' \
    'cp -- "' $'" "/b/ZQ_GETSELINDEX-ZQ_NAMEZQ_EXT"\r\n' '/home/u/Music/a b/track 01.mp3' \
    '/home/u/x.tar.gz' '/home/u/.config'
  compose_seed "$1/windows" 3 1 'D:\x.txt' 'C:\Music\' 'ZQ_GETCOUNT' '' \
    'ZQ_DRIVE|ZQ_PATH|ZQ_RELPATH[' ']ZQ_EXT' 'C:\Music\Rock\song.mp3' 'c:\music\b.ogg' 'D:\a\b'
  compose_seed "$1/self" 1 2 'ZQ_NAME' '/' 'ZQ_NAME' 'ZQ_EXT' 'ZQ_NAMEZQ_NAME ZQ_ZQ_NAMEEXT' \
    'ZQ_PATH ZQ_GETSELINDEX' '/ZQ_NAME/ZQ_EXT.ZQ_NAME' '/ZQ_RELPATH/ZQ_GETCOUNT'
  compose_seed "$1/utf8" 12 0 $'/m/\xc3\xa9' '/m/' '' '' $'\xc3\xa9 ' $' \xe6\x9d\xb1\n' \
    $'/m/Beyonc\xc3\xa9/\xe6\x9d\xb1\xe4\xba\xac.flac' $'/m/\xf0\x9f\x8e\xb5'
}

seed_list_file() {
  seed "$1" plain $'/home/u/a.mp3\n/home/u/b c.txt\n'
  seed "$1" crlf $'C:\\Music\\a.mp3\r\n\r\nC:\\b.txt'
  seed "$1" nul $'/a\x00hidden\n\n\n/b'
  local long
  long=$(printf 'x%.0s' {1..997})
  seed "$1" long "$long"$'\xc3\xa9\xc3\xa9\n'"$long$long"
}

status=0
found=0
for target in "$bin"/fuzz_*; do
  [ -x "$target" ] || continue
  found=1
  name=$(basename "$target")
  corpus=$base/corpus/$name
  findings=$base/findings/$name
  mkdir -p "$corpus" "$findings"
  case "$name" in
    fuzz_compose) seed_compose "$corpus" ;;
    fuzz_list_file) seed_list_file "$corpus" ;;
  esac
  echo "== $name: ${seconds}s, corpus $corpus"
  "$target" "$corpus" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
    -max_len=8192 -print_final_stats=1 -artifact_prefix="$findings/" \
    >"$findings/last-run.log" 2>&1
  rc=$?
  tail -n 12 "$findings/last-run.log"
  if [ $rc -ne 0 ]; then
    echo "!! $name failed (status $rc); reproducer in $findings/, log $findings/last-run.log"
    status=1
  fi
done
if [ $found -eq 0 ]; then
  echo "no fuzz_* executable in $bin" >&2
  exit 2
fi
exit $status
