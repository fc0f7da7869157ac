#!/usr/bin/env bash
# A name copied while Loomquill has no focus, under sway: sway takes the clipboard only with
# a serial newer than the last copy's, tells every change to wl-paste --watch (so each write
# of ours can be counted) and moves the focus on swaymsg's word. Sway runs on its X11
# backend in a private Xvfb, which gives its seat a keyboard (the headless backend has none,
# and without one no window ever has the focus); sway refuses to run as root, so there it
# runs as nobody.
#   tests/e2e/wayland_clipboard_sway_e2e.sh BIN_DIR
set -uo pipefail

bin=$1
app="$bin/loomquill"
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
e2e_work lq-wayland-clipboard-sway

skip() {
  echo "SKIPPED: $*"
  exit 77
}
for tool in sway swaymsg Xvfb wl-copy wl-paste weston-flower; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (tools/install-deps.sh installs it)"
done

as_sway_user=()
if [ "$(id -u)" -eq 0 ]; then
  command -v setpriv >/dev/null || skip "setpriv is needed to run sway as nobody"
  as_sway_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi

chmod 755 "$work"
run="$work/run"
mkdir -m 700 "$run"
[ "${#as_sway_user[@]}" -eq 0 ] || chown nobody "$run"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || skip "Xvfb did not start: $(tail -3 "$work/xvfb.log")"

printf 'output * bg #202020 solid_color\n' >"$work/sway.conf"
chmod 644 "$work/sway.conf"
env -i PATH="$PATH" HOME="$run" XDG_RUNTIME_DIR="$run" DISPLAY=":$(head -1 "$work/display")" \
  WLR_BACKENDS=x11 WLR_RENDERER=pixman "${as_sway_user[@]}" sway -c "$work/sway.conf" \
  >"$work/sway.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  compgen -G "$run/sway-ipc.*.sock" >/dev/null && [ -S "$run/wayland-1" ] && break
  sleep 0.1
done
compgen -G "$run/sway-ipc.*.sock" >/dev/null || skip "sway did not start: $(tail -5 "$work/sway.log")"

SWAYSOCK=$(compgen -G "$run/sway-ipc.*.sock" | head -1)
export SWAYSOCK XDG_RUNTIME_DIR="$run" WAYLAND_DISPLAY=wayland-1 GDK_BACKEND=wayland
unset DISPLAY
mkdir -p "$work/home/cfg/loomquill"
printf '[Loomquill]\nSendToIndex=0\n' >"$work/home/cfg/loomquill/ZQIni.ini"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/cfg" XDG_CACHE_HOME="$work/home/cache"

pasted() { timeout 5 wl-paste -n 2>/dev/null; }

# Waits until the clipboard holds the expected text, or 10 s.
clipboard_is() {
  local expected=$1 got
  for _ in $(seq 50); do
    got=$(pasted; printf x)
    [ "${got%x}" = "$expected" ] && return 0
    sleep 0.2
  done
  echo "clipboard: expected [$expected], got [${got%x}]" >&2
  return 1
}

# The clipboard holds the text and goes on holding it for 2 s.
clipboard_stays() {
  clipboard_is "$1" || return 1
  local got
  for _ in $(seq 10); do
    sleep 0.2
    got=$(pasted; printf x)
    [ "${got%x}" = "$1" ] || {
      echo "clipboard: [$1] became [${got%x}]" >&2
      return 1
    }
  done
}

# Every text the clipboard has held, one record each, from the moment this starts.
watch_clipboard() {
  : >"$work/changes"
  wl-paste -n --watch sh -c "cat; printf '\n'" >>"$work/changes" 2>/dev/null </dev/null &
  watcher=$!
  pids+=("$watcher")
  sleep 0.5
}

# How many times the clipboard took this text since watch_clipboard.
times_copied() {  # times_copied TEXT
  grep -cxF -- "$1" "$work/changes"
}

copied_once() {  # copied_once TEXT
  local n
  n=$(times_copied "$1")
  [ "$n" -eq 1 ] || {
    echo "[$1] was copied $n times" >&2
    return 1
  }
}

focused_app() {
  swaymsg -t get_tree | python3 -c '
import json, sys
def walk(node):
    if node.get("focused"):
        print(node.get("app_id") or "")
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))'
}

focus() {  # focus APP_ID: as a click on the window would
  swaymsg "[app_id=\"$1\"] focus" >/dev/null || return 1
  for _ in $(seq 25); do
    [ "$(focused_app)" = "$1" ] && return 0
    sleep 0.2
  done
  return 1
}

ours=io.github.loomquill.Loomquill
other=org.freedesktop.weston.flower

up() {  # up APP_ID
  for _ in $(seq 50); do
    swaymsg -t get_tree | grep -q "\"app_id\": \"$1\"" && return 0
    sleep 0.2
  done
  return 1
}

hand_over() {  # hand_over FILE: a second start, as the file manager's "Open With" makes
  timeout 10 "$app" "$1" >>"$work/app.log" 2>&1
  [ $? -eq 255 ]
}

user_copies() { wl-copy "$1" </dev/null >/dev/null 2>&1; }

mkdir -p "$work/files"
for name in first second third; do : >"$work/files/$name.txt"; done

launch
check "Loomquill's window up" up "$ours"
weston-flower >/dev/null 2>&1 &
pids+=($!)
check "another program's window up" up "$other"
check "the other program has the focus" focus "$other"

# What the user copies after the name landed stays when Loomquill gets the focus.
check "first.txt handed over" hand_over "$work/files/first.txt"
check "first.txt lands at once" clipboard_is "$work/files/first.txt"
user_copies "the user's own copy"
check "the user's copy is the clipboard" clipboard_is "the user's own copy"
check "Loomquill gets the focus" focus "$ours"
check "the user's copy stays" clipboard_stays "the user's own copy"

# Landed at once, the name is not written again when Loomquill gets the focus.
check "the other program has the focus again" focus "$other"
watch_clipboard
check "second.txt handed over" hand_over "$work/files/second.txt"
check "second.txt lands at once" clipboard_is "$work/files/second.txt"
check "Loomquill gets the focus again" focus "$ours"
check "second.txt stays" clipboard_stays "$work/files/second.txt"
check "second.txt is copied once" copied_once "$work/files/second.txt"
kill "$watcher" 2>/dev/null

# Copied before the hand-over, the user's text makes sway turn the unfocused write down:
# the name lands when Loomquill gets the focus, once.
check "the other program has the focus a third time" focus "$other"
user_copies "copied before"
check "the earlier copy is the clipboard" clipboard_is "copied before"
watch_clipboard
check "third.txt handed over" hand_over "$work/files/third.txt"
check "the unfocused write is turned down" clipboard_stays "copied before"
check "Loomquill gets the focus a third time" focus "$ours"
check "third.txt lands with the focus" clipboard_stays "$work/files/third.txt"
check "third.txt is copied once" copied_once "$work/files/third.txt"
kill "$watcher" 2>/dev/null

check "the window still runs" kill -0 "$app_pid"
quiet_log() { ! grep -E 'CRITICAL|WARNING' "$work/app.log" >&2; }
check "no toolkit criticals or warnings" quiet_log
[ "$failures" -eq 0 ] || tail -20 "$work/app.log" >&2
summary
