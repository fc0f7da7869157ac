#!/usr/bin/env bash
# Starts the real Loomquill and hands files to it from second starts, as the file manager's
# "Open With" does. Needs an X display (make test provides one), xclip and xdotool.
#   tests/e2e/hand_over_e2e.sh BIN_DIR
set -uo pipefail

bin=$1
app="$bin/loomquill"
failures=0
passes=0
work=$(mktemp -d "${TMPDIR:-/tmp}/lq-e2e.XXXXXX")
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

check() {  # check WHAT CONDITION...
  local what=$1
  shift
  if "$@"; then
    passes=$((passes + 1))
  else
    failures=$((failures + 1))
    echo "FAILED: $what" >&2
  fi
}

# A fresh home for each scenario: settings with a header, a queue and a Send To mode.
setup() {  # setup NAME SENDTO
  local home="$work/$1"
  mkdir -p "$home/cfg/loomquill" "$home/run"
  chmod 700 "$home/run"
  printf '[Loomquill]\nSendToIndex=%s\nCheckIndex=2\nHeader=<cp ">\nQueue=<" /b/#ZQ_BR#>\n' \
    "$2" >"$home/cfg/loomquill/ZQIni.ini"
  export HOME="$home" XDG_CONFIG_HOME="$home/cfg" XDG_RUNTIME_DIR="$home/run"
}

start_app() {  # start_app [FILE]
  "$app" "$@" >>"$work/app.log" 2>&1 &
  pids+=($!)
  app_pid=$!
  # X clients polling the display while GTK opens it can make GTK's start fail here; give
  # it a moment before the first look.
  sleep 0.5
}

# Waits until the window is up, or 10 s.
wait_window() {
  for _ in $(seq 50); do
    [ "$(windows)" -ge 1 ] && return 0
    sleep 0.2
  done
  return 1
}

windows() { xdotool search --onlyvisible --name '^Halvorn Loomquill' 2>/dev/null | wc -l; }

# Waits until the clipboard holds the expected text, or 10 s.
clipboard_is() {
  local expected=$1 got
  for _ in $(seq 50); do
    got=$(xclip -o -selection clipboard 2>/dev/null; printf x)
    [ "${got%x}" = "$expected" ] && return 0
    sleep 0.2
  done
  echo "clipboard: expected [$expected], got [${got%x}]" >&2
  return 1
}

stop_app() {
  kill "$app_pid" 2>/dev/null
  wait "$app_pid" 2>/dev/null
}

file="$work/some dir/a file's name.txt"
mkdir -p "$work/some dir"
: >"$file"

# A second start hands its file over and ends with 255; no second window opens.
for mode in 0 1; do
  setup "second$mode" "$mode"
  start_app
  check "first window up (mode $mode)" wait_window
  timeout 10 "$app" "$file" "ignored second argument" >>"$work/app.log" 2>&1
  rc=$?
  check "second start exits with 255 (mode $mode, got $rc)" test "$rc" -eq 255
  if [ "$mode" = 1 ]; then
    check "composed line on the clipboard" clipboard_is "cp \"a file's name.txt\" /b/"$'\n'
  else
    check "written name on the clipboard" clipboard_is "a file's name.txt"
  fi
  check "still one window (mode $mode)" test "$(windows)" -eq 1
  stop_app
done

# A first start with a file copies once the window is up.
setup first 0
start_app "$file"
check "first start with a file opens a window" wait_window
check "first start copies the name" clipboard_is "a file's name.txt"
stop_app

# A socket left by a crashed instance never stops a start.
setup stale 0
start_app
check "window up before the crash" wait_window
kill -9 "$app_pid"
wait "$app_pid" 2>/dev/null
check "the crash left its socket" test -S "$XDG_RUNTIME_DIR/loomquill/ZQ_LOOMQUILL"
start_app "$file"
check "a start after the crash opens a window" wait_window
check "and copies its file" clipboard_is "a file's name.txt"
timeout 10 "$app" "$work/other.txt" >>"$work/app.log" 2>&1
rc=$?
check "the new instance takes hand-overs (got $rc)" test "$rc" -eq 255
check "the handed file is copied" clipboard_is "other.txt"
stop_app

# A name longer than a name can hold is refused by the sender.
setup long 0
long="/$(printf 'n%.0s' $(seq 1200))"
err=$("$app" "$long" 2>&1 >/dev/null)
rc=$?
check "an overlong name is refused (got $rc)" test "$rc" -ne 0 -a "$rc" -ne 255
check "with a message" grep -q "at most 999" <<<"$err"

[ "$failures" -eq 0 ] || grep -v "Gtk-CRITICAL" "$work/app.log" | tail -20 >&2
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
