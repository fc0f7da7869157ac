#!/usr/bin/env bash
# The real window refused a write by the system and signalled while it writes: Create past
# `ulimit -f` says so naming the file, and SIGTERM in the middle of Create leaves no
# temporary file. Keys go to the window through xdotool; the preloaded spy notes the text
# of each message box and holds the first write to a temporary file.
#   tests/e2e/window_writes_e2e.sh BIN_DIR SPY_LIBRARY
set -uo pipefail

bin=$1
spy=$2
app="$bin/loomquill"
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
e2e_work lq-writes

# A fresh home whose settings name out/out.txt as the output file, an output there and a
# list of 400 names, some 24 KB once composed.
setup() {  # setup NAME
  home="$work/$1"
  mkdir -p "$home/cfg/loomquill" "$home/run" "$home/out"
  chmod 700 "$home/run"
  out="$home/out/out.txt"
  printf 'earlier\n' >"$out"
  printf '[Loomquill]\nFileOutput=%s\nCheckIndex=0\nHeader=<cp ">\nQueue=<" /b/#ZQ_BR#>\n' \
    "$out" >"$home/cfg/loomquill/ZQIni.ini"
  list="$home/names.lst"
  for i in $(seq 400); do printf '/some/folder/of/names/file number %s.txt\n' "$i"; done >"$list"
  messages="$home/messages"
  : >"$messages"
  export HOME="$home" XDG_CONFIG_HOME="$home/cfg" XDG_RUNTIME_DIR="$home/run" \
    XDG_CACHE_HOME="$home/cache" LQ_SPY_MESSAGES="$messages"
}

# Starts the window with the spy, under `ulimit -f BLOCKS` when given one.
start_window() {  # start_window [BLOCKS]
  local limit=${1:-unlimited}
  LD_PRELOAD="$spy" bash -c 'ulimit -f "$1" && exec "$2"' limit "$limit" "$app" \
    >>"$work/app.log" 2>&1 &
  app_pid=$!
  pids+=("$app_pid")
}

main_window() { xdotool search --onlyvisible --name '^Halvorn Loomquill' 2>/dev/null | head -1; }

# Waits until a window with this title is up, or 10 s; gives its id.
# Whether a menu of the program is open: a popup menu window is mapped.
menu_open() {
  local id
  for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q POPUP_MENU && return 0
  done
  return 1
}

# Runs a File menu item by its place: a click opens the menu, Down walks to the item.
file_menu() {  # file_menu DOWNS
  local window moves=()
  window=$(main_window)
  for _ in $(seq "$1"); do moves+=(Down); done
  for _ in $(seq 3); do
    xdotool mousemove --window "$window" 19 12 click 1
    for _ in $(seq 25); do
      menu_open && break 2
      sleep 0.2
    done
  done
  xdotool key --delay 100 "${moves[@]}" Return
}

# File > Open list..., and the list's name typed into the file chooser.
open_list() {
  file_menu 5
  local chooser
  chooser=$(x_window_up '^Open List$') || return 1
  sleep 0.3
  xdotool windowfocus --sync "$chooser" 2>/dev/null
  xdotool key ctrl+l
  sleep 0.3
  xdotool type --delay 10 "$list"
  sleep 0.3
  xdotool key Return
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^Open List$' >/dev/null 2>&1 || return 0
    sleep 0.2
  done
  return 1
}

create() { file_menu 1; }

# Waits until the spy noted a message box holding this text, or 10 s.
message_says() {  # message_says TEXT
  for _ in $(seq 50); do
    grep -qF -- "$1" "$messages" && return 0
    sleep 0.2
  done
  echo "messages: $(cat "$messages")" >&2
  return 1
}

temp_there() { compgen -G "$home/out/.lq-*" >/dev/null; }
no_temp_left() { ! temp_there; }
out_is_earlier() { [ "$(cat "$out")" = earlier ]; }
alive() { kill -0 "$app_pid" 2>/dev/null; }

# Past `ulimit -f`: the write fails like a full disk, the window says so and lives on.
setup limit
start_window 8
check "window up under ulimit -f" x_window_up '^Halvorn Loomquill' >/dev/null
sleep 0.5
check "the list is read" open_list
create
check "Create past the limit names the file" message_says "$out"
check "and the reason" message_says "File too large"
check "the window lives on" alive
check "the earlier output stays" out_is_earlier
check "no temporary file is left" no_temp_left
kill -9 "$app_pid" 2>/dev/null
wait "$app_pid" 2>/dev/null

# SIGTERM while Create writes: the window ends by it and removes its temporary file. The
# spy stops the window at its first write to the temporary file, so the signal comes then.
setup term
LQ_SPY_HOLD=1 start_window
check "window up" x_window_up '^Halvorn Loomquill' >/dev/null
sleep 0.5
check "the list is read" open_list
create
held() {
  for _ in $(seq 50); do
    [ "$(awk '{print $3}' "/proc/$app_pid/stat" 2>/dev/null)" = T ] && return 0
    sleep 0.2
  done
  return 1
}
check "the write is held" held
check "with its temporary file" temp_there
kill -TERM "$app_pid"
kill -CONT "$app_pid"
wait "$app_pid"
rc=$?
check "the window ends by SIGTERM (got $rc)" test "$rc" -eq 143
check "no temporary file is left after SIGTERM" no_temp_left
check "the earlier output stays after SIGTERM" out_is_earlier

summary
