#!/usr/bin/env bash
# The real Loomquill, left alone, sleeps: once it has settled it uses (almost) no CPU time,
# with an empty list and with 100,000 names opened from a list file. It counts the process's
# CPU ticks (utime + stime of /proc/PID/stat), never wall-clock timings. The hand-over
# listener runs, as in every start. Needs an X display (make test provides one) and xdotool.
#   tests/e2e/idle_cpu_e2e.sh BIN_DIR
set -uo pipefail

app=$1/loomquill
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
e2e_work lq-e2e-idle

home="$work/home"
mkdir -p "$home/run" "$home/cfg"
chmod 700 "$home/run"
export HOME="$home" XDG_CONFIG_HOME="$home/cfg" XDG_RUNTIME_DIR="$home/run" \
  XDG_CACHE_HOME="$home/cache"

idle_secs=20
max_ticks=3

ticks() {  # ticks PID: user and system CPU ticks so far
  # The command name, in parentheses, may hold blanks: count the fields after it.
  local stat
  stat=$(<"/proc/$1/stat")
  stat=${stat##*) }
  read -r -a f <<<"$stat"
  echo $((f[11] + f[12]))
}

# Waits until the process spends no tick in two seconds (at most 4 minutes): what the start
# and the last input left behind is done, a text cursor's blinking and the list's sizing of
# its rows included.
settle() {  # settle PID
  local before after
  for _ in $(seq 120); do
    before=$(ticks "$1")
    sleep 2
    after=$(ticks "$1")
    [ "$after" -eq "$before" ] && return 0
  done
  return 1
}

idle_check() {  # idle_check WHAT
  check "$1: settles" settle "$app_pid"
  local before after
  before=$(ticks "$app_pid")
  sleep "$idle_secs"
  after=$(ticks "$app_pid")
  echo "$1: $((after - before)) CPU ticks in $idle_secs s idle"
  check "$1: at most $max_ticks CPU ticks in $idle_secs s idle (used $((after - before)))" \
    test $((after - before)) -le "$max_ticks"
}

read -r width height < <(xdotool getdisplaygeometry)
# The pointer off the window, where it would be while the person does something else.
xdotool mousemove $((width - 1)) $((height - 1))
launch
window=$(x_window_up '^Halvorn Loomquill')
check "the window comes up" test -n "$window"
[ -n "$window" ] || { summary; exit; }
idle_check "empty list"

# The main window: the start shows no other window of that name, and xdotool finds it.
main_window() {
  xdotool search --onlyvisible --name '^Halvorn Loomquill$' 2>/dev/null | tail -1
}

# Chooses File's menu item at position ITEM (from 1, separators not counted) and gives the
# file dialog it opens, titled TITLE, the name NAME. The File menu holds Create, View,
# Preview, Clear List, Open list and Save list first.
file_dialog() {  # file_dialog ITEM TITLE NAME
  local downs=() dialog=
  for _ in $(seq "$1"); do downs+=(Down); done
  # No window manager gives the focus: the script does, and lets the toolkit see it.
  xdotool windowfocus "$(main_window)" 2>/dev/null
  sleep 0.3
  xdotool key F10 "${downs[@]}" Return
  for _ in $(seq 50); do
    dialog=$(xdotool search --onlyvisible --name "^$2\$" 2>/dev/null | head -1)
    [ -n "$dialog" ] && break
    sleep 0.2
  done
  check "File > $2 opens its file dialog" test -n "$dialog"
  [ -n "$dialog" ] || return
  xdotool windowfocus "$dialog" 2>/dev/null
  sleep 0.3
  # The location field, whatever it held before replaced whole.
  xdotool key ctrl+l
  sleep 0.3
  xdotool key ctrl+a
  xdotool type --delay 5 "$3"
  xdotool key Return
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^$2\$" >/dev/null 2>&1 || break
    sleep 0.2
  done
  check "the $2 dialog closes" test -z "$(xdotool search --onlyvisible --name "^$2\$" 2>/dev/null)"
}

# 100,000 names through File > Open list and the toolkit's file dialog.
seq -f "$work/music/Artist %g/track.flac" 100000 >"$work/names.lst"
loaded_from=$(ticks "$app_pid")
file_dialog 5 "Open List" "$work/names.lst"
xdotool mousemove $((width - 1)) $((height - 1))
idle_check "100,000 names"
# Reading and showing the names is work: a dialog that read nothing costs next to none.
check "the names were read (in $(($(ticks "$app_pid") - loaded_from)) ticks)" \
  test $(($(ticks "$app_pid") - loaded_from)) -ge 20

check "still running" kill -0 "$app_pid"
kill "$app_pid" 2>/dev/null
wait "$app_pid" 2>/dev/null
summary
