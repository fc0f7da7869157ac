#!/usr/bin/env bash
# The real Loomquill starts without a word on standard error: no debug line of the toolkit,
# no GTK critical or warning. The pointer rests where the start notice opens, the centre of
# the screen, as on a fresh X display. Needs an X display (make test provides one) and
# xdotool.
#   tests/e2e/quiet_start_e2e.sh BIN_DIR
set -uo pipefail

app=$1/loomquill
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
e2e_work lq-e2e-quiet

home="$work/home"
mkdir -p "$home/run"
chmod 700 "$home/run"
export HOME="$home" XDG_CONFIG_HOME="$home/cfg" XDG_RUNTIME_DIR="$home/run" \
  XDG_CACHE_HOME="$home/cache"

read -r width height < <(xdotool getdisplaygeometry)
for start in 1 2; do
  : >"$work/app.log"
  xdotool mousemove $((width / 2)) $((height / 2))
  launch
  window=$(x_window_up '^Halvorn Loomquill')
  check "start $start: the window comes up" test -n "$window"
  # What the first moments of the window print: its drawing and the pointer over it.
  sleep 1
  [ -n "$window" ] && xdotool mousemove --window "$window" 20 20 2>/dev/null && sleep 0.5
  check "start $start: still running" kill -0 "$app_pid"
  kill "$app_pid" 2>/dev/null
  wait "$app_pid" 2>/dev/null
  check "start $start: no debug line on stderr" test -z "$(grep 'Debug:' "$work/app.log")"
  check "start $start: no GTK critical or warning" \
    test -z "$(grep -E 'Gtk-(CRITICAL|WARNING)|GLib-GObject-CRITICAL' "$work/app.log")"
  if [ -s "$work/app.log" ]; then
    echo "standard error of start $start:" >&2
    cat "$work/app.log" >&2
  fi
done
check "nothing at all on stderr" test ! -s "$work/app.log"
summary
