#!/usr/bin/env bash
# A template whose file name is not UTF-8, beside a copy of the real Loomquill: the window
# comes up without a toolkit assertion, and the Templates menu loads it by its real name.
# Needs an X display (make test provides one), xclip and xdotool.
#   tests/e2e/template_name_e2e.sh BIN_DIR
set -uo pipefail

bin=$1
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
e2e_work lq-e2e-tpl

# The program folder holds the executable and this one template, so it is the first item
# after Save Template, Open Template and the separator.
prog="$work/prog"
mkdir -p "$prog"
cp "$bin/loomquill" "$prog/"
printf '[Loomquill]\nHeader=<from template >\nQueue=< end#ZQ_BR#>\nCheckIndex=2\n' \
  >"$prog/Caf"$'\xe9'" list.hqd"

home="$work/home"
mkdir -p "$home/cfg/loomquill" "$home/run"
chmod 700 "$home/run"
printf '[Loomquill]\nSendToIndex=1\nCheckIndex=2\n' >"$home/cfg/loomquill/ZQIni.ini"
export HOME="$home" XDG_CONFIG_HOME="$home/cfg" XDG_RUNTIME_DIR="$home/run" \
  XDG_CACHE_HOME="$home/cache"
log="$work/app.log"
: >"$work/a.txt"

"$prog/loomquill" >"$log" 2>&1 &
app_pid=$!
pids+=("$app_pid")
sleep 0.5
window=$(x_window_up '^Halvorn Loomquill')
check "the window comes up" test -n "$window"
sleep 1
check "and stays up" kill -0 "$app_pid"
check "no toolkit assertion" test -z "$(grep -i 'assert' "$log")"

# Templates menu, first template.
if [ -n "$window" ]; then
  xdotool windowfocus --sync "$window" 2>/dev/null
  sleep 0.3
  for key in F10 Right Down Down Down Return; do
    xdotool key "$key"
    sleep 0.3
  done
fi
# A hand-over in Send To mode 1 composes with the loaded template's header and queue.
timeout 10 "$prog/loomquill" "$work/a.txt" >>"$log" 2>&1
rc=$?
check "the hand-over reaches the window (got $rc)" test "$rc" -eq 255
expected="from template a.txt end"$'\n'
got=
for _ in $(seq 50); do
  got=$(timeout 5 xclip -o -selection clipboard 2>/dev/null; printf x)
  got=${got%x}
  [ "$got" = "$expected" ] && break
  sleep 0.2
done
check "the template loaded by its real name (clipboard [$got])" test "$got" = "$expected"
check "still no assertion" test -z "$(grep -i 'assert' "$log")"

[ "$failures" -eq 0 ] || grep -v "Gtk-CRITICAL" "$log" | tail -20 >&2
summary
