#!/usr/bin/env bash
# Under a real window manager (openbox) on a display of its own: the Input dialog, the Send To
# dialog, the About box and a notice open centred on the main window, whole and on screen,
# after the window was moved away from the screen's middle; and a tip shown over a button is
# gone once the click opened a modal dialog. Positions are read with xwininfo, as the window
# manager placed the windows.
#   tests/e2e/dialogs_openbox_e2e.sh BIN_DIR
set -uo pipefail

if [ -z "${LQ_OWN_DISPLAY:-}" ]; then
  for t in openbox xvfb-run xwininfo xdotool; do
    command -v "$t" >/dev/null || { echo "SKIPPED: $t is not installed"; exit 77; }
  done
  LQ_OWN_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi

bin=$1
app="$bin/loomquill"
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
e2e_work lq-e2e-openbox
home=$work/home
mkdir -p "$home/cfg" "$home/run" "$home/share"
chmod 700 "$home/run"
export HOME="$home" XDG_CONFIG_HOME="$home/cfg" XDG_RUNTIME_DIR="$home/run" \
  XDG_DATA_HOME="$home/share" XDG_CACHE_HOME="$home/cache"

check "openbox manages the display" start_openbox

# x y width height of a window's client area on the screen.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}

# The main window: the largest visible window of that name once the start has settled (a
# window of the same name may come and go while it starts).
main_window() {
  local id best="" area=0 x y w h
  for id in $(xdotool search --onlyvisible --name '^Halvorn Loomquill$' 2>/dev/null); do
    read -r x y w h <<<"$(geometry "$id" 2>/dev/null)"
    [ -n "$h" ] && [ $((w * h)) -gt "$area" ] && { area=$((w * h)); best=$id; }
  done
  echo "$best"
}

launch
first=$(x_window_up '^Halvorn Loomquill')
check "the main window comes up" test -n "$first"
[ -n "$first" ] || { summary; exit 1; }
sleep 2
main=$(main_window)
check "the main window stays up" test -n "$main"
[ -n "$main" ] || { summary; exit 1; }
# Off the screen's middle, so that a dialog centred on the screen is told from one on its owner.
xdotool windowmove --sync "$main" 40 40 2>/dev/null
sleep 0.5

# A visible window named TITLE other than the main one, waited for up to 10 s (step 50 ms).
other_window() {  # other_window TITLE_REGEX
  local id
  for _ in $(seq 200); do
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      [ "$id" != "$main" ] && { echo "$id"; return 0; }
    done
    sleep 0.05
  done
  return 1
}

# The dialog's centre lies within 40 px of the main window's, and all of it on the screen.
centred_on_main() {  # centred_on_main DIALOG
  read -r mx my mw mh <<<"$(geometry "$main")"
  read -r dx dy dw dh <<<"$(geometry "$1")"
  local ex=$((dx + dw / 2 - mx - mw / 2)) ey=$((dy + dh / 2 - my - mh / 2))
  echo "main $mx,$my ${mw}x$mh; dialog $dx,$dy ${dw}x$dh; centres apart by $ex,$ey" >&2
  [ "${ex#-}" -le 40 ] && [ "${ey#-}" -le 40 ] && [ "$dx" -ge 0 ] && [ "$dy" -ge 0 ] &&
    [ $((dx + dw)) -le 1280 ] && [ $((dy + dh)) -le 1024 ]
}

# Every child control of the dialog lies inside it: nothing cut off at the bottom or side.
whole() {  # whole DIALOG
  read -r dx dy dw dh <<<"$(geometry "$1")"
  local child cx cy cw ch
  for child in $(xwininfo -children -id "$1" | awk '/^ +0x/ {print $1}'); do
    read -r cx cy cw ch <<<"$(geometry "$child")"
    if [ $((cx + cw)) -gt $((dx + dw)) ] || [ $((cy + ch)) -gt $((dy + dh)) ]; then
      echo "child $child at $cx,$cy ${cw}x$ch leaves the dialog" >&2
      return 1
    fi
  done
}

close_window() {  # close_window ID: Alt+F4, which openbox turns into a close request
  xdotool windowactivate --sync "$1" 2>/dev/null
  xdotool key alt+F4
  for _ in $(seq 50); do
    xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable' || return 0
    sleep 0.1
  done
  return 1
}

# The main head's Input dialog, opened by its button, as the user clicks it. Points are in
# the main window at its start size, the controls on GTK's spacing grid.
xdotool mousemove --window "$main" 213 469 click 1
input=$(other_window '^Input$')
check "the MainHead button opens the Input dialog" test -n "$input"
if [ -n "$input" ]; then
  check "the Input dialog opens centred on the main window, on screen" centred_on_main "$input"
  check "the Input dialog is whole, its OK and Cancel inside it" whole "$input"
  check "the Input dialog closes" close_window "$input"
fi

# A dialog opened from the menu bar by its mnemonics, as a keyboard user opens it.
menu_dialog() {  # menu_dialog MENU_KEY ITEM_KEY TITLE_REGEX WHAT
  xdotool windowactivate --sync "$main" 2>/dev/null
  xdotool key "$1"
  sleep 0.3
  xdotool key "$2"
  local dialog
  dialog=$(other_window "$3")
  check "$4 opens" test -n "$dialog"
  [ -n "$dialog" ] || return
  check "$4 opens centred on the main window" centred_on_main "$dialog"
  check "$4 is whole" whole "$dialog"
  close_window "$dialog"
}
menu_dialog alt+f i '^Send To$' "File > Set Send To interface's dialog"
menu_dialog alt+h a '^About Halvorn Loomquill$' "Help > About's box"

# A file handed over by a second start: the window's "Copying..." notice.
: >"$work/song.mp3"
"$app" "$work/song.mp3" >>"$work/app.log" 2>&1 &
notice=$(other_window '^Copying\.\.\.$')
check "a hand-over shows its notice" test -n "$notice"
[ -n "$notice" ] && check "the notice opens centred on the main window" centred_on_main "$notice"
wait $! 2>/dev/null
sleep 1

# The tip of a button, shown while the pointer rests on it, and the modal dialog its click
# opens: the tip must go at once and not come back over the dialog.
tips() {  # the ids of Loomquill's visible override-redirect windows (its tips)
  local id
  for id in $(xdotool search --onlyvisible --class 'io.github.loomquill.Loomquill' 2>/dev/null); do
    [ "$id" = "$main" ] && continue
    xwininfo -id "$id" -all 2>/dev/null | grep -q 'Override Redirect State: yes' && echo "$id"
  done
}
tip_over_dialog() {  # tip_over_dialog X Y TITLE_REGEX WHAT
  xdotool windowactivate --sync "$main" 2>/dev/null
  xdotool mousemove --window "$main" "$1" "$2"
  sleep 0.3
  xdotool mousemove --window "$main" $(($1 + 2)) "$2"
  local shown=""
  for _ in $(seq 60); do
    shown=$(tips)
    [ -n "$shown" ] && break
    sleep 0.05
  done
  check "$4: its tip shows while the pointer rests on it" test -n "$shown"
  xdotool click 1
  local dialog
  dialog=$(other_window "$3")
  check "$4: the click opens its dialog" test -n "$dialog"
  sleep 1.2
  check "$4: no tip 1.2 s after the click ($(tips))" test -z "$(tips)"
  [ -n "$dialog" ] && close_window "$dialog"
  sleep 0.5
}
for try in 1 2 3; do
  tip_over_dialog 213 436 '^(File|Output file|Save|Set output file)' "OutFile, try $try"
  tip_over_dialog 213 469 '^Input$' "MainHead, try $try"
done

summary
