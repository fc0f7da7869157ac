#!/usr/bin/env bash
# The desktop entry asks for startup notification, and every start a launcher (gtk-launch, as
# desktops do) begins is reported complete: the first by the window it opens, a later one
# with a file by the running window it handed the file to; else the launcher's busy cursor
# and dock entry would spin until they time out. Read from the X root window's messages.
#   tests/e2e/startup_notify_e2e.sh BIN_DIR DESKTOP_ENTRY
set -uo pipefail

bin=$1
entry_source=$2
app="$bin/loomquill"
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
e2e_work lq-e2e-startup
if ! command -v gtk-launch >/dev/null || ! /usr/bin/python3 -c 'import Xlib' 2>/dev/null; then
  echo "SKIPPED: needs gtk-launch and python3-xlib" >&2
  exit 77
fi
export PATH="$bin:$PATH"
id=io.github.loomquill.Loomquill
home=$work/home
mkdir -p "$home/cfg/loomquill" "$home/run" "$home/share/applications"
chmod 700 "$home/run"
cp "$entry_source" "$home/share/applications/$id.desktop"
export HOME="$home" XDG_CONFIG_HOME="$home/cfg" XDG_RUNTIME_DIR="$home/run" \
  XDG_CACHE_HOME="$home/cache" XDG_DATA_HOME="$home/share"
unset DESKTOP_STARTUP_ID XDG_ACTIVATION_TOKEN

check "the entry asks for startup notification" \
  grep -qx 'StartupNotify=true' "$home/share/applications/$id.desktop"

/usr/bin/python3 "$(dirname "$0")/startup_listener.py" >"$work/messages" 2>>"$work/app.log" &
pids+=($!)
for _ in $(seq 50); do
  grep -q '^listening$' "$work/messages" && break
  sleep 0.1
done

ids_of() {  # ids_of KIND: the IDs of the KIND messages seen so far, one a line
  grep "^$1:" "$work/messages" | grep -o ' ID=[^ ]*' | sed 's/^ ID=//; s/^"//; s/"$//'
}

# Waits until a new start shows up that was not among the first N, and prints its ID.
new_start() {  # new_start N
  local got
  for _ in $(seq 100); do
    got=$(ids_of new | sed -n "$(($1 + 1))p")
    [ -n "$got" ] && printf '%s' "$got" && return 0
    sleep 0.1
  done
  return 1
}

completed() {  # completed ID: waits up to 20 s for the start's "remove" message
  for _ in $(seq 200); do
    ids_of remove | grep -qxF "$1" && return 0
    sleep 0.1
  done
  return 1
}

windows() { xdotool search --onlyvisible --name '^Halvorn Loomquill' 2>/dev/null | wc -l; }

gtk-launch "$id" >>"$work/app.log" 2>&1
first=$(new_start 0)
check "gtk-launch begins a start with an id" test -n "$first"
check "the window that opens completes that start" completed "$first"
# Right after its first paint the window shows the "Loading Templates" notice, which bears the
# same caption: count once the count has held for a second.
settled_windows() {
  local same=0 last=-1 now
  for _ in $(seq 100); do
    now=$(windows)
    if [ "$now" = "$last" ]; then same=$((same + 1)); else same=0; last=$now; fi
    [ "$same" -ge 10 ] && [ "$now" -ge 1 ] && break
    sleep 0.1
  done
  printf '%s' "$last"
}
check "one window" test "$(settled_windows)" -eq 1
app_pid=$(pgrep -n -x loomquill)
pids+=("$app_pid")

: >"$work/song one.mp3"
gtk-launch "$id" "$work/song one.mp3" >>"$work/app.log" 2>&1
second=$(new_start 1)
check "a start with a file begins its own start id" \
  test -n "$second" -a "$second" != "$first"
check "the running window that took the file completes that start" completed "$second"
check "still one window" test "$(windows)" -eq 1
# The name reached the window, so the start was really handed over.
for _ in $(seq 100); do
  [ "$(timeout 5 xclip -o -selection clipboard 2>/dev/null)" = "$work/song one.mp3" ] && break
  sleep 0.2
done
check "the handed-over name is on the clipboard" \
  test "$(timeout 5 xclip -o -selection clipboard 2>/dev/null)" = "$work/song one.mp3"

# Two starts in a row are taken as one batch: each is still reported complete.
: >"$work/song two.mp3"
: >"$work/song three.mp3"
gtk-launch "$id" "$work/song two.mp3" >>"$work/app.log" 2>&1
gtk-launch "$id" "$work/song three.mp3" >>"$work/app.log" 2>&1
third=$(new_start 2)
fourth=$(new_start 3)
check "two starts in a row begin two start ids" test -n "$third" -a -n "$fourth"
check "the first of two starts in a row is completed" completed "$third"
check "the second of two starts in a row is completed" completed "$fourth"

if [ "$failures" -ne 0 ]; then
  echo "--- messages on the root window:" >&2
  cat "$work/messages" >&2
  echo "--- app.log:" >&2
  tail -20 "$work/app.log" >&2
fi
summary
