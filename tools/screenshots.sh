#!/usr/bin/env bash
# Takes the README's screenshots of Loomquill under a virtual X server: the shared tooltip
# over the file list, and the hover highlight of a button.
#   tools/screenshots.sh [BIN_DIR] [OUT_DIR]    (defaults: build/bin, docs)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$root/build/bin}
out=${2:-$root/docs}

need=()
command -v import >/dev/null || need+=(imagemagick)
command -v xdotool >/dev/null || need+=(xdotool)
command -v xvfb-run >/dev/null || need+=(xvfb xauth)
if ((${#need[@]})); then
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo=sudo
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq "${need[@]}"
fi
[[ -x $bin/loomquill ]] || { echo "no $bin/loomquill: build it first" >&2; exit 1; }
mkdir -p "$out"

if [[ ${LQ_IN_XVFB:-} != 1 ]]; then
  LQ_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$bin" "$out"
fi

# A fresh settings folder: tooltips on, nothing of the user's.
home=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/config
"$bin/loomquill" &
pid=$!
wid=$(xdotool search --sync --name "Halvorn Loomquill" | head -1)
sleep 1
eval "$(xdotool getwindowgeometry --shell "$wid")"  # X Y WIDTH HEIGHT

# Moves the pointer in small steps to a point given in thousandths of the window, as a hand
# would, so the window sees the pointer arrive.
hover() {
  local tx=$((X + WIDTH * $1 / 1000)) ty=$((Y + HEIGHT * $2 / 1000))
  for step in 3 2 1 0; do
    xdotool mousemove $((tx - step * 4)) $((ty - step * 3))
    sleep 0.05
  done
}
shoot() {
  import -window root -crop "$((WIDTH + 20))x$((HEIGHT + 60))+$X+$Y" +repage "$out/$1"
  echo "$out/$1"
}

# The tip below the pointer over the file list (its delay is 150 ms, or 1.5 s when the
# pointer comes straight off the background).
hover 400 250
sleep 2
shoot tooltip.png

# The Auto Drag button's hint has no tooltip part: only the highlight shows.
hover 60 500
sleep 0.3
hover 120 920
sleep 0.5
shoot highlight.png
