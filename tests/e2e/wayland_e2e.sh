#!/usr/bin/env bash
# Starts the real Loomquill under a real Wayland compositor, with no X display, and hands it
# files from second starts, as the file manager's "Open With" does. Runs inside
# tests/support/with_weston.sh; reads the clipboard with wl-paste, sees the windows in
# weston's scene graph and drives weston's pointer with xdotool.
#   tests/support/with_weston.sh tests/e2e/wayland_e2e.sh BIN_DIR
set -uo pipefail

bin=$1
app="$bin/loomquill"
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
e2e_work lq-wayland-e2e

# A fresh home: settings with a header, a queue and a Send To mode. The hand-over folder
# lies in the session's own XDG_RUNTIME_DIR.
setup() {  # setup NAME SENDTO
  local home="$work/$1"
  mkdir -p "$home/cfg/loomquill"
  printf '[Loomquill]\nSendToIndex=%s\nCheckIndex=2\nHeader=<cp ">\nQueue=<" /b/#ZQ_BR#>\n' \
    "$2" >"$home/cfg/loomquill/ZQIni.ini"
  export HOME="$home" XDG_CONFIG_HOME="$home/cfg" XDG_CACHE_HOME="$home/cache"
}

start_app() {  # start_app [FILE]
  launch "$@"
}

stop_app() {
  kill "$app_pid" 2>/dev/null
  wait "$app_pid" 2>/dev/null
}

scene() { weston-debug scene-graph 2>/dev/null; }

# The views of top-level windows with this title, one "x y" line each: where weston shows them.
views_of() {  # views_of TITLE
  scene | awk -v title="top-level window '$1' of" '
    index($0, title) { want = 1; next }
    want && /position:/ { gsub(/[(),]/, " "); print $2, $3; want = 0 }'
}

windows() { views_of 'Halvorn Loomquill' | wc -l; }

# Waits until the main window is mapped, or 10 s.
wait_window() {
  for _ in $(seq 50); do
    [ "$(windows)" -ge 1 ] && return 0
    sleep 0.2
  done
  return 1
}

# Waits until the clipboard holds the expected text, or 10 s.
clipboard_is() {
  local expected=$1 got
  for _ in $(seq 50); do
    got=$(timeout 5 wl-paste -n 2>/dev/null; printf x)
    [ "${got%x}" = "$expected" ] && return 0
    sleep 0.2
  done
  echo "clipboard: expected [$expected], got [${got%x}]" >&2
  return 1
}

alive() { kill -0 "$app_pid" 2>/dev/null; }

# Nothing in the log that says the toolkit was misused or the display was not there.
clean_log() {
  ! grep -E 'CRITICAL|cannot open display|Unable to init server' "$work/app.log" >&2
}

pointer() { DISPLAY=$LQ_WESTON_X_DISPLAY xdotool "$@"; }

file="$work/some dir/a file's name.txt"
mkdir -p "$work/some dir"
: >"$file"
: >"$work/other.txt"

# The window comes up natively and a second start hands its file over to it.
for mode in 0 1; do
  setup "second$mode" "$mode"
  start_app
  check "window up (mode $mode)" wait_window
  timeout 10 "$app" "$file" >>"$work/app.log" 2>&1
  rc=$?
  check "second start exits with 255 (mode $mode, got $rc)" test "$rc" -eq 255
  if [ "$mode" = 1 ]; then
    check "composed line on the clipboard" clipboard_is "cp \"a file's name.txt\" /b/"$'\n'
  else
    check "written name on the clipboard" clipboard_is "a file's name.txt"
  fi
  check "still one window (mode $mode)" test "$(windows)" -eq 1
  check "the window still runs (mode $mode)" alive
  stop_app
done

# A first start with a file copies it once the window is up.
setup first 0
start_app "$file"
check "first start with a file opens a window" wait_window
check "first start copies the name" clipboard_is "a file's name.txt"
stop_app

# Another program has the focus when the file arrives, as the file manager has.
setup unfocused 0
start_app
check "window up beside another program" wait_window
weston-flower >/dev/null 2>&1 &
pids+=($!)
flower=$!
for _ in $(seq 50); do [ "$(views_of Flower | wc -l)" -ge 1 ] && break; sleep 0.2; done
check "the other program's window is up" test "$(views_of Flower | wc -l)" -ge 1
# The file manager gives the start a token that lets the window take the focus; weston
# hands out no such tokens, so this one is only carried over.
XDG_ACTIVATION_TOKEN=file-manager-token timeout 10 "$app" "$work/other.txt" \
  >>"$work/app.log" 2>&1
rc=$?
check "the hand-over goes through with a token (got $rc)" test "$rc" -eq 255
check "the handed file is copied" clipboard_is "other.txt"
kill "$flower" 2>/dev/null
stop_app

# A drag on a free spot of the dialog's background moves the window: the compositor does
# the move, from the moment the window hands it over (the first motion) until the release.
# The spot is inside the dialog's left margin, below the menu and tool bars.
setup drag 0
start_app
check "window up before the drag" wait_window
read -r x y < <(views_of 'Halvorn Loomquill')
# weston's view holds GTK's shadow round the window; the opaque part starts inside it.
read -r ox oy < <(scene | awk '/Halvorn Loomquill/ { want = 1; next }
  want && /opaque:/ { gsub(/[(),]/, " "); print $2, $3; exit }')
press_x=$((ox + 5))
press_y=$((oy + 300))
pointer mousemove "$press_x" "$press_y"
pointer mousedown 1
# A hand's pace: the window hands the move over while the button is still held.
for step in $(seq 30); do
  pointer mousemove $((press_x + 2 * step)) $((press_y + step))
  sleep 0.05
done
pointer mouseup 1
moved=
for _ in $(seq 50); do
  read -r nx ny < <(views_of 'Halvorn Loomquill')
  dx=$((nx - x))
  dy=$((ny - y))
  [ "$dx" -gt 0 ] && [ "$dx" -le 60 ] && [ "$dy" -gt 0 ] && [ "$dy" -le 30 ] && moved=1 && break
  sleep 0.2
done
check "the drag moves the window with the pointer, from ($x, $y) to ($nx, $ny)" test -n "$moved"
check "the window still runs after the drag" alive
stop_app

check "no toolkit criticals and a display found" clean_log
[ "$failures" -eq 0 ] || tail -20 "$work/app.log" >&2
summary
