#!/usr/bin/env bash
# Runs a command inside a Wayland session of its own: weston with a fresh XDG_RUNTIME_DIR
# (mode 0700) and a socket no other test uses. Weston's headless backend has no seat, so no
# pointer, keyboard or clipboard; weston runs instead on its X11 backend in a private Xvfb,
# which gives it a seat whose pointer xdotool drives. The command sees WAYLAND_DISPLAY,
# GDK_BACKEND=wayland and no DISPLAY; LQ_WESTON_X_DISPLAY names the X display for xdotool.
# Exits 77 when weston cannot start here.
#   tests/support/with_weston.sh COMMAND [ARG...]
set -uo pipefail

skip() {
  echo "SKIPPED: $*"
  exit 77
}

for tool in weston weston-debug Xvfb; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (tools/install-deps.sh installs it)"
done

session=$(mktemp -d "${TMPDIR:-/tmp}/lq-weston.XXXXXX")
chmod 700 "$session"
xvfb_pid=
weston_pid=
cleanup() {
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$session"
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it to the descriptor it is given.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$session/display" \
  >"$session/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$session/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
[ -s "$session/display" ] || skip "Xvfb did not start: $(tail -3 "$session/xvfb.log")"
x_display=":$(head -1 "$session/display")"

socket="lq-wayland-$$"
mkdir -m 700 "$session/run"
DISPLAY=$x_display XDG_RUNTIME_DIR="$session/run" weston --backend=x11-backend.so --use-pixman \
  --width=1200 --height=1000 --socket="$socket" --idle-time=0 --no-config --debug \
  >"$session/weston.log" 2>&1 &
weston_pid=$!
# Up once its debug stream answers, which needs the shell loaded as well.
up=
for _ in $(seq 100); do
  kill -0 "$weston_pid" 2>/dev/null || break
  if [ -S "$session/run/$socket" ] &&
    XDG_RUNTIME_DIR="$session/run" WAYLAND_DISPLAY=$socket timeout 5 weston-debug scene-graph \
      2>/dev/null | grep -q "panel for output"; then
    up=1
    break
  fi
  sleep 0.1
done
[ -n "$up" ] || skip "weston did not start: $(tail -5 "$session/weston.log")"
# Weston follows the X pointer only once it has entered weston's window.
if command -v xdotool >/dev/null; then
  DISPLAY=$x_display xdotool mousemove 1279 1023 mousemove 600 500 2>/dev/null
fi

env -u DISPLAY XDG_RUNTIME_DIR="$session/run" WAYLAND_DISPLAY="$socket" GDK_BACKEND=wayland \
  LQ_WESTON_X_DISPLAY="$x_display" "$@"
rc=$?
[ "$rc" -eq 0 ] || [ "$rc" -eq 77 ] || tail -20 "$session/weston.log" >&2
exit "$rc"
