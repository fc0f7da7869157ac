#!/usr/bin/env bash
# Takes the pictures of docs/look.md: Loomquill's main window in GTK's light and dark Adwaita,
# each beside a stock GTK dialog (zenity's forms) in the same theme, under a virtual X server
# with openbox drawing the frames.
#   tools/look-shots.sh [BIN_DIR] [OUT_DIR] [NAME]   (defaults: build/bin, docs/look, after)
# writes OUT_DIR/NAME-light.png and OUT_DIR/NAME-dark.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$root/build/bin}
out=${2:-$root/docs/look}
name=${3:-after}

need=()
command -v import >/dev/null || need+=(imagemagick)
command -v xdotool >/dev/null || need+=(xdotool)
command -v xvfb-run >/dev/null || need+=(xvfb xauth)
command -v openbox >/dev/null || need+=(openbox)
command -v zenity >/dev/null || need+=(zenity)
if ((${#need[@]})); then
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo=sudo
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
[[ -x $bin/loomquill ]] || { echo "no $bin/loomquill: build it first" >&2; exit 1; }
mkdir -p "$out"
out=$(cd "$out" && pwd)

if [[ ${LQ_IN_XVFB:-} != 1 ]]; then
  LQ_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1400x900x24" "$0" "$bin" "$out" "$name"
fi

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
openbox --sm-disable >/dev/null 2>&1 &
pids+=("$!")
sleep 1

# The window's outer rectangle, the window manager's frame included, as WIDTHxHEIGHT+X+Y.
frame_of() {
  local wid=$1 x y w h l=0 r=0 t=0 b=0 ext
  x=$(xwininfo -id "$wid" | awk '/Absolute upper-left X/{print $4}')
  y=$(xwininfo -id "$wid" | awk '/Absolute upper-left Y/{print $4}')
  w=$(xwininfo -id "$wid" | awk '/Width:/{print $2}')
  h=$(xwininfo -id "$wid" | awk '/Height:/{print $2}')
  ext=$(xprop -id "$wid" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')
  [[ -n $ext ]] && IFS=, read -r l r t b <<<"$ext"
  echo "$((w + l + r))x$((h + t + b))+$((x - l))+$((y - t))"
}

shoot_theme() {
  local theme=$1 tag=$2
  local home=$work/home-$tag
  mkdir -p "$home/config"
  # A fresh settings folder: nothing of the user's.
  HOME=$home XDG_CONFIG_HOME=$home/config GTK_THEME=$theme "$bin/loomquill" \
    >/dev/null 2>&1 &
  local lq=$!
  pids+=("$lq")
  local wid
  wid=$(xdotool search --sync --onlyvisible --name "Halvorn Loomquill" | head -1)
  xdotool windowmove "$wid" 20 20
  sleep 1
  # A shipped template (the playlist), through the keyboard, so the fields show text.
  xdotool windowactivate --sync "$wid" key alt+t
  sleep 0.5
  xdotool key Down Down Down Down Down Return
  sleep 1
  xdotool mousemove 1390 890
  sleep 0.5
  import -window root -crop "$(frame_of "$wid")" +repage "$work/lq-$tag.png"

  GTK_THEME=$theme zenity --forms --title="GTK dialog" --text="A stock GTK 3 dialog" \
    --add-entry="Output file" --add-entry="Main header" --add-combo="Path" \
    --combo-values="Full path|Relative path|No path|None" >/dev/null 2>&1 &
  local zen=$!
  pids+=("$zen")
  local zid
  zid=$(xdotool search --sync --onlyvisible --name "GTK dialog" | head -1)
  xdotool windowmove "$zid" 20 20
  sleep 1.5
  import -window root -crop "$(frame_of "$zid")" +repage "$work/gtk-$tag.png"
  kill "$lq" "$zen" 2>/dev/null || true
  wait "$lq" "$zen" 2>/dev/null || true

  # Side by side on the theme's window background, in few colours: a modest file.
  local ground
  ground=$(convert "$work/gtk-$tag.png" -gravity west -crop 1x1+4+0 +repage \
    -format '%[pixel:p{0,0}]' info:)
  convert "$work/lq-$tag.png" "$work/gtk-$tag.png" -background "$ground" \
    -gravity northwest -splice 12x12 +append -gravity southeast -splice 12x12 \
    -colors 128 -strip "PNG8:$out/$name-$tag.png"
  echo "$out/$name-$tag.png"
}

shoot_theme Adwaita light
shoot_theme Adwaita:dark dark
