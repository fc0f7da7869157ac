#!/usr/bin/env bash
# Opens many files at once with the desktop entry, as a file manager's "Open With" does,
# through the real gio launch (and gtk-launch where it is installed), while Loomquill runs:
# every name reaches the window, in the order given, as one copy, read back with xclip.
# Needs an X display (make test provides one), gio, xclip and xdotool.
#   tests/e2e/hand_over_many_e2e.sh BIN_DIR DESKTOP_ENTRY
set -uo pipefail

bin=$1
entry_source=$2
app="$bin/loomquill"
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
e2e_work lq-e2e-many
# The entry starts "loomquill" by its name, as an installed one does.
export PATH="$bin:$PATH"
id=io.github.loomquill.Loomquill

# A fresh home for each scenario, with the entry where desktops look for it.
setup() {  # setup NAME SENDTO
  local home="$work/$1"
  mkdir -p "$home/cfg/loomquill" "$home/run" "$home/share/applications"
  chmod 700 "$home/run"
  printf '[Loomquill]\nSendToIndex=%s\nCheckIndex=0\nHeader=<cp ">\nQueue=<" /b/#ZQ_BR#>\n' \
    "$2" >"$home/cfg/loomquill/ZQIni.ini"
  cp "$entry_source" "$home/share/applications/$id.desktop"
  entry="$home/share/applications/$id.desktop"
  export HOME="$home" XDG_CONFIG_HOME="$home/cfg" XDG_RUNTIME_DIR="$home/run" \
    XDG_CACHE_HOME="$home/cache" XDG_DATA_HOME="$home/share"
}

windows() { xdotool search --onlyvisible --name '^Halvorn Loomquill' 2>/dev/null | wc -l; }

wait_window() {
  for _ in $(seq 50); do
    [ "$(windows)" -ge 1 ] && return 0
    sleep 0.2
  done
  return 1
}

start_app() {
  launch
  sleep 0.5
  wait_window
}

stop_app() {
  kill "$app_pid" 2>/dev/null
  wait "$app_pid" 2>/dev/null
}

# Bounded: a reader waits as long as the owner takes to answer.
clipboard() { timeout 5 xclip -o -selection clipboard 2>/dev/null; }

# Waits until the clipboard holds the expected text, or 20 s.
clipboard_is() {  # clipboard_is EXPECTED [sorted]
  local expected=$1 got
  for _ in $(seq 100); do
    got=$(clipboard; printf x)
    got=${got%x}
    [ "${2:-}" = sorted ] && got=$(sort <<<"$got")
    [ "$got" = "$expected" ] && return 0
    sleep 0.2
  done
  diff <(printf '%s\n' "$expected") <(printf '%s\n' "$got") | head -5 >&2
  return 1
}

# Something else on the clipboard, so that a copy that never comes is seen.
mark_clipboard() {
  printf 'before' | xclip -quiet -selection clipboard >/dev/null 2>&1 &
  pids+=($!)
  clipboard_is before
}

# 500 files whose names a shell or a list could break, given in an order that is neither
# sorted nor the folder's.
mkdir -p "$work/files/sub dir"
files=()
for i in $(seq 500 -1 1); do
  f="$work/files/sub dir/$((i * 7 % 500)) it's \"quoted\" Ångström $i.txt"
  : >"$f"
  files+=("$f")
done

joined() {  # joined N: the first N full names, one a line, as Send To copies names
  local n=$1
  printf '%s\n' "${files[@]:0:n}" | head -c -1
}

setup names 0
check "window up" start_app
for n in 1 20 500; do
  mark_clipboard
  gio launch "$entry" "${files[@]:0:n}" >>"$work/app.log" 2>&1
  check "gio launch on $n files: gio succeeds" test $? -eq 0
  check "all $n names on the clipboard, in the order given" clipboard_is "$(joined $n)"
done
check "still one window" test "$(windows)" -eq 1

# A start of the program itself with twenty files ends "handed over" once the window has them.
mark_clipboard
timeout 20 "$app" "${files[@]:0:20}" >>"$work/app.log" 2>&1
rc=$?
check "a second start with twenty files exits with 255 (got $rc)" test "$rc" -eq 255
check "and its twenty names are one copy" clipboard_is "$(joined 20)"

if command -v gtk-launch >/dev/null; then
  mark_clipboard
  gtk-launch "$id" "${files[@]:0:20}" >>"$work/app.log" 2>&1
  check "gtk-launch on 20 files succeeds" test $? -eq 0
  check "gtk-launch: all 20 names, in the order given" clipboard_is "$(joined 20)"
else
  echo "SKIPPED: gtk-launch (libgtk-3-bin) is not installed"
fi
stop_app

# Composed lines, one per file, in the order given.
setup lines 1
check "window up (lines)" start_app
mark_clipboard
gio launch "$entry" "${files[@]:0:20}" >>"$work/app.log" 2>&1
expected=$(for f in "${files[@]:0:20}"; do printf 'cp "%s" /b/\n' "$f"; done; printf x)
check "twenty composed lines, in the order given" clipboard_is "${expected%x}"
stop_app

# An entry that starts Loomquill once per file: the twenty starts that come in a row are
# joined into one copy, every name once.
setup one_per_file 0
sed -i 's/^Exec=loomquill %F$/Exec=loomquill %f/' "$entry"
check "the entry was made one per file" grep -q '^Exec=loomquill %f$' "$entry"
check "window up (one per file)" start_app
mark_clipboard
gio launch "$entry" "${files[@]:0:20}" >>"$work/app.log" 2>&1
check "twenty starts in a row give every name once" \
  clipboard_is "$(printf '%s\n' "${files[@]:0:20}" | sort)" sorted
check "still one window (one per file)" test "$(windows)" -eq 1
stop_app

# No window yet: the first start takes all its files as its own and copies them once up.
setup first 0
mark_clipboard
gio launch "$entry" "${files[@]:0:20}" >>"$work/app.log" 2>&1
check "a first start on twenty files opens a window" wait_window
check "and copies all twenty in the order given" clipboard_is "$(joined 20)"
first_pid=$(xdotool search --onlyvisible --name '^Halvorn Loomquill' getwindowpid 2>/dev/null | head -1)
[ -n "$first_pid" ] && kill "$first_pid" 2>/dev/null

[ "$failures" -eq 0 ] || grep -v "Gtk-CRITICAL" "$work/app.log" | tail -20 >&2
summary
