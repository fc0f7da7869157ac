#!/usr/bin/env bash
# Under a Wayland compositor every window of the real Loomquill names the desktop entry it
# belongs to: its app_id is the application id, which the installed entry is named after.
# Runs inside tests/support/with_weston.sh and reads what the program asks of the compositor
# (WAYLAND_DEBUG).
#   tests/support/with_weston.sh tests/e2e/wayland_app_id_e2e.sh BIN_DIR APP_ID
set -uo pipefail

app=$1/loomquill
id=$2
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
e2e_work lq-wayland-app-id
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/cfg" XDG_CACHE_HOME="$work/home/cache"
mkdir -p "$HOME"

WAYLAND_DEBUG=client launch
for _ in $(seq 50); do
  grep -q 'xdg_toplevel@[0-9]*\.set_app_id' "$work/app.log" && break
  sleep 0.2
done
sleep 1
mapfile -t ids < <(sed -n 's/.*xdg_toplevel@[0-9]*\.set_app_id("\(.*\)")$/\1/p' "$work/app.log")
check "the window asks for an app_id" test "${#ids[@]}" -ge 1
for got in "${ids[@]}"; do
  check "app_id is $id (got $got)" test "$got" = "$id"
done
summary
