#!/usr/bin/env bash
# Start-up of the window with 300 templates in 30 folders beside the executable: the time
# from the start to a visible, mapped main window. Needs an X display (or runs itself under
# xvfb-run) and xdotool.
#   bench/startup_bench.sh path/to/loomquill [RUNS]
set -euo pipefail
app=$(readlink -f "$1")
runs=${2:-7}
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"; fi

work=$(mktemp -d "${TMPDIR:-/tmp}/lq-startup.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$app" "$work/loomquill"
for d in $(seq -w 1 30); do
  mkdir -p "$work/Folder $d"
  for t in $(seq -w 1 10); do
    printf '[Loomquill]\nh_menutitle=T%s\nHeader=<ZQ_NAME>\nQueue=<#ZQ_BR#>\n' "$t" \
      >"$work/Folder $d/Template $t.hqd"
  done
done
mkdir -p "$work/home/cfg" "$work/home/run"
chmod 700 "$work/home/run"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/cfg" XDG_RUNTIME_DIR="$work/home/run"

times=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  "$work/loomquill" >/dev/null 2>&1 &
  pid=$!
  # Poll ourselves: xdotool's own --sync waits in half-second steps.
  until xdotool search --onlyvisible --name '^Halvorn Loomquill$' >/dev/null 2>&1; do
    sleep 0.005
  done
  end=$(date +%s%N)
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  times+=($(((end - start) / 1000000)))
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(sed -n "$(((runs + 1) / 2))p" <<<"$sorted")
echo "start-up to a visible window, 300 templates in 30 folders, $runs runs:"
echo "  median ${median} ms, min $(head -1 <<<"$sorted") ms, max $(tail -1 <<<"$sorted") ms"
