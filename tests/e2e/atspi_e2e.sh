#!/usr/bin/env bash
# The real window read through the accessibility bus, as a screen reader reads it: a private
# D-Bus session bus (which starts the AT-SPI bus on request) around the window and the
# reader, so nothing reaches the desktop's own buses. Needs an X display (make test
# provides one), dbus, at-spi2-core and python3-pyatspi.
#   tests/e2e/atspi_e2e.sh BIN_DIR
set -uo pipefail

# A display of its own, managed by openbox, which closes dialogs on Alt+F4.
if [ -z "${LQ_OWN_DISPLAY:-}" ]; then
  for t in openbox xvfb-run xdotool xprop xclip; do
    command -v "$t" >/dev/null || { echo "SKIPPED: $t is not installed"; exit 77; }
  done
  LQ_OWN_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi

bin_dir=$1
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
e2e_work lq-e2e-atspi
mkdir -p "$work/run" "$work/cfg"
chmod 700 "$work/run"
export HOME="$work" XDG_CONFIG_HOME="$work/cfg" XDG_RUNTIME_DIR="$work/run" \
  XDG_CACHE_HOME="$work/cache"
start_openbox
# GTK speaks to the AT-SPI bus unless told not to.
unset NO_AT_BRIDGE
export GTK_A11Y=atk

timeout 300 dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/atspi_tree.py" "$bin_dir" \
  2> >(grep -v '^dbus-daemon\|SpiRegistry daemon' >&2)
status=$?
if [ "$status" -ne 0 ] && [ -s "$work/app.log" ]; then
  echo "standard error of the window:" >&2
  cat "$work/app.log" >&2
fi
exit "$status"
