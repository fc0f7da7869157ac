#!/usr/bin/env bash
# Runs a command inside a Wayland session of its own: sway on its headless backend, one
# output HEADLESS-1 of 1280 x 800 pixels at scale 2 (640 x 400 logical), a fresh
# XDG_RUNTIME_DIR and no X display. Sway refuses to run as root: as root it runs as the
# user nobody, and the command (still root) reaches it through its socket. The command sees
# WAYLAND_DISPLAY, GDK_BACKEND=wayland, SWAYSOCK (for swaymsg) and LQ_SWAY_SESSION, a folder
# it may write in. Exits 77 when sway cannot start here.
#   tests/support/with_sway.sh COMMAND [ARG...]
set -uo pipefail

skip() {
  echo "SKIPPED: $*"
  exit 77
}

for tool in sway swaymsg grim; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (tools/install-deps.sh installs it)"
done

session=$(mktemp -d "${TMPDIR:-/tmp}/lq-sway.XXXXXX")
chmod 755 "$session"
mkdir -m 700 "$session/run"
sway_pid=
cleanup() {
  [ -n "$sway_pid" ] && kill "$sway_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$session"
}
trap cleanup EXIT

cat >"$session/config" <<'EOF'
output HEADLESS-1 resolution 1280x800 scale 2
default_border none
default_floating_border none
focus_on_window_activation focus
EOF
chmod 644 "$session/config"

as_sway_user=()
if [ "$(id -u)" = 0 ]; then
  command -v setpriv >/dev/null || skip "setpriv is not installed (util-linux)"
  chown nobody "$session/run"
  as_sway_user=(setpriv --reuid=nobody --regid="$(id -gn nobody)" --clear-groups)
fi
# No GPU and no input devices: the pixman renderer and a seat without devices.
env -u DISPLAY -u WAYLAND_DISPLAY HOME="$session" XDG_RUNTIME_DIR="$session/run" \
  WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  "${as_sway_user[@]}" sway -c "$session/config" >"$session/sway.log" 2>&1 &
sway_pid=$!

socket=
ipc=
for _ in $(seq 100); do
  kill -0 "$sway_pid" 2>/dev/null || break
  ipc=$(find "$session/run" -maxdepth 1 -name 'sway-ipc.*.sock' -print -quit)
  socket=$(find "$session/run" -maxdepth 1 -name 'wayland-*' ! -name '*.lock' -printf '%f\n' -quit)
  if [ -n "$ipc" ] && [ -n "$socket" ] && SWAYSOCK=$ipc swaymsg -t get_outputs >/dev/null 2>&1
  then
    break
  fi
  ipc=
  sleep 0.1
done
[ -n "$ipc" ] || skip "sway did not start: $(tail -5 "$session/sway.log")"

mkdir -m 777 "$session/work"
env -u DISPLAY XDG_RUNTIME_DIR="$session/run" WAYLAND_DISPLAY="$socket" GDK_BACKEND=wayland \
  SWAYSOCK="$ipc" LQ_SWAY_SESSION="$session/work" "$@"
rc=$?
[ "$rc" -eq 0 ] || [ "$rc" -eq 77 ] || tail -20 "$session/sway.log" >&2
exit "$rc"
