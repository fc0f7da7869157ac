#!/usr/bin/env bash
# At start the main window is the active one and holds the keyboard focus, also when the
# preview window, left open at the last close, opens beside it. Under openbox, a window
# manager that gives the focus to each window that maps unless the window declines it.
# Needs an X display (make test provides one), openbox and xdotool.
#   tests/e2e/start_focus_e2e.sh BIN_DIR
set -uo pipefail

app=$1/loomquill
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
e2e_work lq-e2e-start-focus
if ! command -v openbox >/dev/null || ! command -v xdotool >/dev/null; then
  echo "SKIPPED: needs openbox and xdotool" >&2
  exit 77
fi

home="$work/home"
mkdir -p "$home/run" "$home/cfg/loomquill"
chmod 700 "$home/run"
export HOME="$home" XDG_CONFIG_HOME="$home/cfg" XDG_RUNTIME_DIR="$home/run" \
  XDG_CACHE_HOME="$home/cache"

start_openbox --config-file /dev/null

name_of_focus() { xdotool getwindowfocus getwindowname 2>/dev/null; }
name_of_active() { xdotool getactivewindow getwindowname 2>/dev/null; }
is_main() { [[ $1 == "Halvorn Loomquill"* ]]; }

for preview in 0 1; do
  printf '[Loomquill]\nPreviewOpen=%s\n' "$preview" >"$home/cfg/loomquill/ZQIni.ini"
  launch
  main=$(x_window_up '^Halvorn Loomquill')
  check "preview $preview: the main window comes up" test -n "$main"
  if [ "$preview" = 1 ]; then
    check "preview $preview: the preview window comes up" test -n "$(x_window_up '^Preview output')"
  fi
  # Both windows mapped, and the window manager done with them.
  sleep 1.5
  # By title: the window of an earlier start may still be going from the display.
  check "preview $preview: the main window is active (not '$(name_of_active)')" \
    is_main "$(name_of_active)"
  check "preview $preview: the main window has the keyboard focus (not '$(name_of_focus)')" \
    is_main "$(name_of_focus)"
  kill "$app_pid" 2>/dev/null
  wait "$app_pid" 2>/dev/null
done
summary
