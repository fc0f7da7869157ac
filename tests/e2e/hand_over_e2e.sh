#!/usr/bin/env bash
# Starts the real Loomquill and hands files to it from second starts, as the file manager's
# "Open With" does. Needs an X display (make test provides one), xclip and xdotool.
#   tests/e2e/hand_over_e2e.sh BIN_DIR
set -uo pipefail

bin=$1
app="$bin/loomquill"
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
e2e_work lq-e2e

# A fresh home for each scenario: settings with a header, a queue and a Send To mode.
setup() {  # setup NAME SENDTO
  local home="$work/$1"
  mkdir -p "$home/cfg/loomquill" "$home/run"
  chmod 700 "$home/run"
  printf '[Loomquill]\nSendToIndex=%s\nCheckIndex=2\nHeader=<cp ">\nQueue=<" /b/#ZQ_BR#>\n' \
    "$2" >"$home/cfg/loomquill/ZQIni.ini"
  export HOME="$home" XDG_CONFIG_HOME="$home/cfg" XDG_RUNTIME_DIR="$home/run" \
    XDG_CACHE_HOME="$home/cache"
}

start_app() {  # start_app [FILE]
  launch "$@"
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

# Waits until a message box with this caption is up, or 10 s.
box_up() {
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  return 1
}

# Waits until no window has this caption, or 10 s.
box_gone() {
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.2
  done
  return 1
}

# Waits until the clipboard holds the expected text, or 10 s. Each read has a limit of its
# own: xclip waits for ever on an owner that does not answer.
clipboard_is() {
  local expected=$1 got
  for _ in $(seq 50); do
    got=$(timeout 5 xclip -o -selection clipboard 2>/dev/null; printf x)
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

# A second start hands its files over and ends with 255; no second window opens.
for mode in 0 1; do
  setup "second$mode" "$mode"
  start_app
  check "first window up (mode $mode)" wait_window
  # Every argument is a file to take, in the order given.
  timeout 10 "$app" "$file" "second argument" >>"$work/app.log" 2>&1
  rc=$?
  check "second start exits with 255 (mode $mode, got $rc)" test "$rc" -eq 255
  if [ "$mode" = 1 ]; then
    check "composed lines on the clipboard" \
      clipboard_is "cp \"a file's name.txt\" /b/"$'\n'"cp \"second argument\" /b/"$'\n'
  else
    check "written names on the clipboard" clipboard_is "a file's name.txt"$'\n'"second argument"
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

# A second user who makes the hand-over folder first and listens in it hears nothing: the
# window says why and listens in a folder of the user's own, where the next start finds it.
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null && [ -x /usr/bin/python3 ]; then
  setup squat 0
  chmod 755 "$work" "$HOME"
  chmod 1777 "$XDG_RUNTIME_DIR"  # open to everyone, as /tmp is
  heard="$work/squat-heard"
  : >"$heard"
  chmod 666 "$heard"
  setpriv --reuid=65534 --regid=65534 --clear-groups /usr/bin/python3 -c '
import os, socket, sys
folder, heard = sys.argv[1], sys.argv[2]
os.mkdir(folder, 0o755)
s = socket.socket(socket.AF_UNIX)
s.bind(folder + "/ZQ_LOOMQUILL")
os.chmod(folder + "/ZQ_LOOMQUILL", 0o777)
s.listen(16)
while True:
    c, _ = s.accept()
    data = c.recv(4096)
    with open(heard, "ab") as f:
        f.write(data + b"\n")
    c.close()
' "$XDG_RUNTIME_DIR/loomquill" "$heard" &
  squatter=$!
  pids+=("$squatter")
  for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/loomquill/ZQ_LOOMQUILL" ] && break; sleep 0.1; done
  check "the other user listens in the folder it made" \
    test -S "$XDG_RUNTIME_DIR/loomquill/ZQ_LOOMQUILL"
  start_app
  check "window up beside a taken folder" wait_window
  check "the window says the folder was passed over" box_up "Hand-over folder refused"
  timeout 10 "$app" "$file" >>"$work/app.log" 2>&1
  rc=$?
  check "a start hands over to the window, not to the other user (got $rc)" test "$rc" -eq 255
  check "the handed file is copied" clipboard_is "a file's name.txt"
  check "the other user heard nothing" test ! -s "$heard"
  check "the window listens under the user's cache folder" \
    test -S "$XDG_CACHE_HOME/loomquill/hand-over/ZQ_LOOMQUILL"
  stop_app
  kill "$squatter" 2>/dev/null
else
  echo "SKIPPED: a taken hand-over folder (needs root, setpriv and /usr/bin/python3)"
fi

# Ten "Open With" starts at once with no instance running: one window, nine hand-overs.
setup many 0
many=()
for i in $(seq 10); do
  : >"$work/many/file $i.txt"
  "$app" "$work/many/file $i.txt" >>"$work/app.log" 2>&1 &
  many+=($!)
  pids+=($!)
done
check "a window from ten starts" wait_window
handed=0
running=()
for _ in $(seq 100); do
  running=()
  for p in "${many[@]}"; do kill -0 "$p" 2>/dev/null && running+=("$p"); done
  [ "${#running[@]}" -le 1 ] && break
  sleep 0.1
done
for p in "${many[@]}"; do
  if ! kill -0 "$p" 2>/dev/null; then
    wait "$p"
    [ $? -eq 255 ] && handed=$((handed + 1))
  fi
done
sleep 1
check "one of ten starts keeps running (${#running[@]} do)" test "${#running[@]}" -eq 1
check "nine of ten hand over (got $handed)" test "$handed" -eq 9
check "one window for ten starts (got $(windows))" test "$(windows)" -eq 1
app_pid=${running[0]:-0}
stop_app

# A name that is not UTF-8 is refused, with the reason, by the sender and by the window.
setup bad_name 0
bad="$work/bad"$'\xff'"name.txt"
: >"$bad"
start_app
check "window up before a name that is not UTF-8" wait_window
# In the foreground of a job of ours, so that it ends with the test.
printf 'kept' | xclip -quiet -selection clipboard >/dev/null 2>&1 &
pids+=($!)
err=$(timeout 10 "$app" "$bad" 2>&1 >/dev/null)
rc=$?
check "the sender refuses it (got $rc)" test "$rc" -eq 1
check "and says why" grep -q 'bad\\xFFname.txt: the name is not valid UTF-8' <<<"$err"
check "the window says why" box_up "Cannot take this file"
check "the clipboard is left alone" clipboard_is "kept"
# The refusal holds nothing up: a good hand-over while it shows is taken and copied.
timeout 10 "$app" "$file" >>"$work/app.log" 2>&1
rc=$?
check "a hand-over after the refused one is taken (got $rc)" test "$rc" -eq 255
check "and copies its file while the refusal shows" clipboard_is "a file's name.txt"
check "the refusal closes by itself" box_gone "Cannot take this file"
check "and leaves no notice behind" box_gone "Copying..."
stop_app
setup bad_first 0
start_app "$bad"
check "a first start with such a name opens its window" wait_window
check "and says why" box_up "Cannot take this file"
stop_app

[ "$failures" -eq 0 ] || grep -v "Gtk-CRITICAL" "$work/app.log" | tail -20 >&2
summary
