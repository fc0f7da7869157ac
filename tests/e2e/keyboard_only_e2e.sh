#!/usr/bin/env bash
# Every command by the keyboard alone, as a user without a mouse works: the real window on a
# display of its own under a real window manager (openbox), driven by xdotool key events
# only (no pointer moves, no clicks, no window activation after the start), reaches and runs
# every command of the menus, of the tool bar (through the menu items that show them), of
# the list and its popup and of the Create button's popup, and presses the dialog's buttons.
# Real message boxes and file dialogs are answered with keys too. Each effect is read from
# outside: the output file against loomquill-cli's for the same settings, the clipboard with
# xclip, the saved list and template files, the settings file after Exit, what the desktop
# was asked to open (a recorder stands for the text editor, the file association and the
# browser), and dialogs by their window names. Every wait is for a condition, with a deadline.
#   tests/e2e/keyboard_only_e2e.sh BIN_DIR
set -uo pipefail

if [ -z "${LQ_OWN_DISPLAY:-}" ]; then
  for t in openbox xvfb-run xdotool xclip xprop xwininfo xdg-open; do
    command -v "$t" >/dev/null || { echo "SKIPPED: $t is not installed"; exit 77; }
  done
  LQ_OWN_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi

bin=$(cd "$1" && pwd)
app="$bin/loomquill"
cli="$bin/loomquill-cli"
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
e2e_work lq-e2e-keys
# check, which also says whether the condition held; with LQ_E2E_SHOTS naming a folder, each
# failure leaves a picture of the screen there.
eval "$(declare -f check | sed '1s/^check/counted_check/')"
check() {
  local before=$failures
  counted_check "$@"
  [ "$failures" -eq "$before" ] && return 0
  [ -n "${LQ_E2E_SHOTS:-}" ] && import -window root "$LQ_E2E_SHOTS/failure-$failures.png"
  return 1
}
home=$work/home
mkdir -p "$home/cfg" "$home/run" "$home/share/applications" "$work/files" "$work/out"
chmod 700 "$home/run"
export HOME="$home" XDG_CONFIG_HOME="$home/cfg" XDG_RUNTIME_DIR="$home/run" \
  XDG_DATA_HOME="$home/share" XDG_CACHE_HOME="$home/cache"
# No desktop session: xdg-open takes its generic way, and for it and GIO the user's
# mimeapps.list below names what opens each type.
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION GNOME_DESKTOP_SESSION_ID KDE_FULL_SESSION VISUAL EDITOR
export XDG_DATA_DIRS=/usr/share XDG_CONFIG_DIRS=/etc/xdg

# The desktop's text editor, file association and browser: one recorder, which writes down
# what it was given.
opened=$work/opened.txt
: >"$opened"
cat >"$work/record.sh" <<EOF
#!/bin/sh
for a in "\$@"; do printf '%s\n' "\${a#file://}" >>"$opened"; done
EOF
chmod +x "$work/record.sh"
export BROWSER="$work/record.sh"
cat >"$home/share/applications/lq-recorder.desktop" <<EOF
[Desktop Entry]
Type=Application
Name=Recorder
Exec=$work/record.sh %u
MimeType=text/plain;text/html;x-scheme-handler/http;x-scheme-handler/https;
EOF
{
  echo '[Default Applications]'
  for t in text/plain text/html x-scheme-handler/http x-scheme-handler/https; do
    echo "$t=lq-recorder.desktop"
  done
} >"$home/cfg/mimeapps.list"

# Three files, one name with the characters that escaping is about.
names=("$work/files/alpha.txt" "$work/files/beta two.mp3" "$work/files/gamma&'x\".html")
for n in "${names[@]}"; do : >"$n"; done
list_file() {  # list_file FILE NAME...: a list file, one name a line, no break after the last
  local to=$1
  shift
  local IFS=$'\n'
  printf '%s' "$*" >"$to"
}
list_file "$work/in.lst" "${names[@]}"
out=$work/out/result.txt
: >"$out"  # the output file dialog is an open dialog: the file is chosen, not named
ini=$home/cfg/loomquill/ZQIni.ini

start_openbox

# --- Waiting ---------------------------------------------------------------------------

# Runs CONDITION every 0.1 s until it holds or SECONDS pass (longer on a loaded machine).
within() {  # within SECONDS CONDITION...
  local tenths=$(($1 * 10)) i
  shift
  for ((i = 0; i < tenths; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}

active() { xdotool getactivewindow 2>/dev/null; }
is_active() { [ "$(active)" = "$1" ]; }
name_of() { xdotool getwindowname "$1" 2>/dev/null; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
gone() { ! viewable "$1"; }

# Loomquill's visible managed windows other than the main one (not its tips and menus).
others() {
  local id
  for id in $(xdotool search --onlyvisible --class 'io.github.loomquill.Loomquill' 2>/dev/null); do
    [ "$id" = "${main:-}" ] && continue
    xwininfo -id "$id" -all 2>/dev/null | grep -q 'Override Redirect State: no' && echo "$id"
  done
}
settled() { [ "$(active)" = "$main" ] && [ -z "$(others)" ]; }

# Before keys meant for the main window: it is active and no notice or dialog is up.
ready() {
  within 30 settled && return 0
  echo "active '$(name_of "$(active)")', others: $(others)" >&2
  # The keys that follow would go astray: nothing after this can be told.
  check "the main window is ready for keys" false
  summary
  exit 1
}

# Prints the id of the active window, other than the main one, named NAME_REGEX.
dialog_up() {  # dialog_up NAME_REGEX
  local i id
  for ((i = 0; i < 300; i++)); do
    id=$(active)
    if [ -n "$id" ] && [ "$id" != "$main" ] && [[ $(name_of "$id") =~ $1 ]]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  echo "no active window named $1; active '$(name_of "$(active)")'" >&2
  return 1
}

key() { xdotool key --delay 90 "$@"; }
type_text() { xdotool type --delay 40 -- "$1"; }

# --- Effects read from outside ---------------------------------------------------------

# Bounded: a reader waits as long as the owner takes to answer.
clipboard() { timeout 5 xclip -o -selection clipboard 2>/dev/null; }
clipboard_is() {  # clipboard_is FILE: the clipboard holds FILE's bytes
  cmp -s <(clipboard) "$1"
}
same() { cmp -s "$1" "$2"; }
# What loomquill-cli writes for the window's settings, into $work/expect.txt; its status.
expect() {  # expect CLI_ARG...
  "$cli" "$@" >"$work/expect.txt" 2>"$work/expect.err"
}
opened_has() {  # opened_has TEXT [COUNT]: the recorder was given TEXT, COUNT times at least
  [ "$(grep -cxF -- "$1" "$opened")" -ge "${2:-1}" ]
}
show_diff() {  # show_diff EXPECTED GOT
  diff <(cat "$1") <(cat "$2" 2>/dev/null) | head -8 >&2
}

# A file dialog, already active: types the full name and accepts it. A completion the name
# entry offers takes the first Return, so Return is pressed again while the dialog stays;
# GTK's question whether to replace a file is answered with its Replace button.
file_dialog_accept() {  # file_dialog_accept ID NAME [location]
  local dialog=$1 now
  [ "${3:-}" = location ] && key ctrl+l
  key ctrl+a
  type_text "$2"
  for _ in 1 2 3; do
    key Return
    within 3 gone "$dialog" && return 0
    now=$(active)
    if [ -n "$now" ] && [ "$now" != "$dialog" ] && [ "$now" != "$main" ]; then
      key alt+r
      within 5 gone "$dialog" && return 0
    fi
  done
  return 1
}

# Opens a dialog with KEYS, checks that it comes up by NAME_REGEX and answers it with
# ANSWER keys, after which it must be gone.
dialog_by_keys() {  # dialog_by_keys WHAT NAME_REGEX "KEYS" "ANSWER"
  local id
  ready
  # shellcheck disable=SC2086
  key $3
  id=$(dialog_up "$2")
  check "$1 opens its dialog" test -n "$id"
  [ -n "$id" ] || return 1
  # shellcheck disable=SC2086
  key $4
  check "$1: its dialog closes by its keys" within 10 gone "$id"
  ready
}

stale() { printf 'stale\n' >"$out"; }
# Runs Create (by KEYS) and compares the output file with loomquill-cli's for CLI_ARGS; a
# name that the settings refuse must bring the window's message box instead and leave the
# earlier output as it was.
create_matches() {  # create_matches WHAT "KEYS" CLI_ARG...
  local what=$1 keys=$2 id
  shift 2
  stale
  ready
  # shellcheck disable=SC2086
  key $keys
  if expect "$@"; then
    check "$what: the output is loomquill-cli's" within 20 same "$work/expect.txt" "$out" ||
      show_diff "$work/expect.txt" "$out"
  else
    id=$(dialog_up '^Name cannot be written safely$')
    check "$what: a refused name is told in a message box" test -n "$id"
    [ -n "$id" ] && key Return && check "$what: the message box closes by Return" within 10 gone "$id"
    check "$what: the earlier output stays" grep -qx stale "$out"
  fi
  ready
}

# --- The start ---------------------------------------------------------------------------

launch
main=$(x_window_up '^Halvorn Loomquill$')
check "the main window comes up" test -n "$main"
[ -n "$main" ] || { summary; exit 1; }
# The start's notice bears the window's name too: the main window is the one that stays.
main_settled() {
  local ids
  ids=$(xdotool search --onlyvisible --name '^Halvorn Loomquill$' 2>/dev/null)
  [ "$(wc -w <<<"$ids")" = 1 ] && main=$ids && settled
}
check "the main window is active at start, alone" within 30 main_settled
[ "$(active)" = "$main" ] || { summary; exit 1; }
ready_list=(--list "$work/in.lst")

# Create with an empty list: the Info box, answered by Return.
dialog_by_keys "Create with an empty list" '^Info$' "ctrl+Return" "Return"
check "nothing is written from an empty list" test ! -e "$home/ZQScript.txt"

# File > Set output file: the File dialog, answered by its location entry.
ready
key alt+f f
id=$(dialog_up '^File$')
check "File > Set output file opens the File dialog" test -n "$id"
[ -n "$id" ] && check "the File dialog takes the output file's name" \
  file_dialog_accept "$id" "$out" location
rm -f "$out"
ready

# File > Open list (Ctrl+O).
ready
key ctrl+o
id=$(dialog_up '^Open List$')
check "Ctrl+O opens the Open List dialog" test -n "$id"
[ -n "$id" ] && check "the Open List dialog takes the list file" \
  file_dialog_accept "$id" "$work/in.lst" location
ready

# --- The Create button and its popup -----------------------------------------------------

# From the start, where no control has the focus, Tab reaches the Create button first; the
# Menu key opens its popup below it, and Down Down Return chooses "Create and copy".
ready
key Tab Menu Down Down Return
expect "${ready_list[@]}"
check "Create popup > Create and copy (Menu, arrows, Return) writes the output" \
  within 20 same "$work/expect.txt" "$out" || show_diff "$work/expect.txt" "$out"
check "Create popup > Create and copy puts the output on the clipboard" \
  within 20 clipboard_is "$out"
create_matches "Create popup > Create (Shift+F10, its letter)" "shift+F10 c" "${ready_list[@]}"
create_matches "Space on the Create button" "space" "${ready_list[@]}"
ready
key shift+F10 v
check "Create popup > View output file opens it in the text editor" within 20 opened_has "$out"
# Up from none chosen takes the last item.
ready
key Menu Up Return
check "Create popup > Execute output file (Menu, Up, Return) opens it by its association" \
  within 20 opened_has "$out" 2

# Preview output, from the Create popup: its window, closed by Alt+F4 (the window manager's).
preview_by_keys() {  # preview_by_keys WHAT "KEYS"
  local id
  ready
  # shellcheck disable=SC2086
  key $2
  id=$(within 20 xdotool search --onlyvisible --name '^Preview output$' 2>/dev/null | head -1)
  check "$1 opens the Preview output window" test -n "$id"
  [ -n "$id" ] || return
  check "$1: the preview window takes the focus" within 20 is_active "$id"
  is_active "$id" && key alt+F4
  check "$1: the preview window closes by Alt+F4" within 10 gone "$id"
}
preview_by_keys "Create popup > Preview output" "Menu p"

# --- Texts, typed into the fields and set by the Input dialogs ---------------------------

ready
key Tab
type_text '['
key Tab
type_text ']'
key shift+Tab shift+Tab
texts=(--header '[' --queue ']')
create_matches "Ctrl+Return with the typed header and queue" "ctrl+Return" "${ready_list[@]}" \
  "${texts[@]}"
dialog_by_keys "File > Set main head" '^Input$' "alt+f h" "ctrl+a H E A D Tab Return"
dialog_by_keys "File > Set main queue" '^Input$' "alt+f q" "ctrl+a T A I L Tab Return"
texts+=(--main-head HEAD --main-queue TAIL)
create_matches "File > Create output file" "alt+f c" "${ready_list[@]}" "${texts[@]}"

# --- Escape names for: every kind, by its letter -----------------------------------------

for pair in n:none s:shell b:batch h:html u:url c:csv j:json l:html-url i:line n:none; do
  create_matches "File > Options > Escape names for > ${pair#*:}" \
    "alt+f t e ${pair%%:*} ctrl+Return" "${ready_list[@]}" "${texts[@]}" --escape "${pair#*:}"
done

# --- The path modes, by the arrows in their group ----------------------------------------

# From Create: the header, the queue, then the group's checked button.
ready
key Tab Tab Tab
rel=(--relpath "$work/out/")
create_matches "the Relative Path button (Down)" "Down ctrl+Return" "${ready_list[@]}" \
  "${texts[@]}" --mode relative "${rel[@]}"
create_matches "the No Path button (Down)" "Down ctrl+Return" "${ready_list[@]}" \
  "${texts[@]}" --mode name
create_matches "the None button (Down)" "Down ctrl+Return" "${ready_list[@]}" \
  "${texts[@]}" --mode none
create_matches "the Full Paht button (Up Up Up)" "Up Up Up ctrl+Return" "${ready_list[@]}" \
  "${texts[@]}"

# --- The list: its keys, its popup, its menu and its buttons -----------------------------

# The order of the list as names, for loomquill-cli.
order() {  # order INDEX...: the list file of the names in that order
  local picked=() i
  for i in "$@"; do picked+=("${names[$i]}"); done
  list_file "$work/order.lst" "${picked[@]}"
}
list_is() {  # list_is WHAT "KEYS" INDEX...: after KEYS, the output follows that order
  local what=$1 keys=$2
  shift 2
  order "$@"
  create_matches "$what" "$keys ctrl+Return" --list "$work/order.lst" "${texts[@]}"
}

ready
key Tab  # from the radio group to the list
item() { printf '%s' "${names[$1]}" >"$work/item.txt"; }
ready
key Home ctrl+c
item 0
check "List > Copy selected item (Ctrl+C) copies the focused item's name" \
  within 20 clipboard_is "$work/item.txt"
ready
key Down ctrl+shift+c
"$cli" --single "${names[1]}" "${texts[@]}" >"$work/line.txt"
check "List > Create and copy selected item (Ctrl+Shift+C) copies its line" \
  within 20 clipboard_is "$work/line.txt" || show_diff "$work/line.txt" <(clipboard)
ready
key Home Menu c
check "the list popup > Copy selected item (Menu, its letter)" within 20 clipboard_is "$work/item.txt"
ready
key End shift+F10 r
"$cli" --single "${names[2]}" "${texts[@]}" >"$work/line.txt"
check "the list popup > Create and copy selected item (Shift+F10, its letter)" \
  within 20 clipboard_is "$work/line.txt"
ready
key Home alt+l c
check "List > Copy selected item, by the menu's letters" within 20 clipboard_is "$work/item.txt"
ready
key End alt+l r
check "List > Create and copy selected item, by the menu's letters" \
  within 20 clipboard_is "$work/line.txt"

list_is "Alt+Down moves the item down" "Home alt+Down" 1 0 2
list_is "Alt+Up moves it back up" "alt+Up" 0 1 2
list_is "List > Move down, by the menu's letters" "alt+l d" 1 0 2
list_is "List > Move up, by the menu's letters" "alt+l u" 0 1 2
# The popup's items: Copy, Create and copy, Move up, Move down, Delete, Clear.
list_is "the list popup > Move down (Menu, arrows)" "Menu Down Down Down Down Return" 1 0 2
list_is "the list popup > Move up (Shift+F10, its letter)" "shift+F10 u" 0 1 2
# The buttons beside the list: <, >, Del, and back.
list_is "the > button (Space)" "Tab Tab space shift+Tab shift+Tab" 1 0 2
list_is "the < button (Space)" "Tab space shift+Tab" 0 1 2
list_is "Del deletes the selected item" "End Delete" 0 1
list_is "the list popup > Delete selected item" "Home Menu e" 1
dialog_by_keys "the list popup > Clear, then Create" '^Info$' "shift+F10 l ctrl+Return" Return

# The list again, for File > Save list; the Del button and List > Delete.
reopen() {
  local id
  ready
  key ctrl+o
  id=$(dialog_up '^Open List$')
  [ -n "$id" ] && file_dialog_accept "$id" "$work/in.lst" location
  ready
}
reopen
list_is "the Del button (Space)" "Home Tab Tab Tab space shift+Tab shift+Tab shift+Tab" 1 2
list_is "List > Delete selected item, by the menu's letters" "End alt+l e" 1
reopen
dialog_by_keys "Ctrl+A and Del delete every item, then Create" '^Info$' \
  "ctrl+a Delete ctrl+Return" Return
reopen
list_is "the list opened after an emptied one" "Home" 0 1 2
dialog_by_keys "List > Clear, then Create" '^Info$' "alt+l l ctrl+Return" Return
reopen
list_is "the list opened after a cleared one" "Home" 0 1 2

# File > Save list (Ctrl+S), to a new file and over it, GTK asking whether to replace it.
saved=$work/saved.lst
for round in new replaced; do
  ready
  [ "$round" = replaced ] && key Home alt+Down
  key ctrl+s
  id=$(dialog_up '^Save List$')
  check "Ctrl+S opens the Save List dialog ($round)" test -n "$id"
  [ -n "$id" ] && check "the Save List dialog takes the list file's name ($round)" \
    file_dialog_accept "$id" "$saved"
  if [ "$round" = new ]; then order 0 1 2; else order 1 0 2; fi
  check "the saved list holds the list's names ($round)" within 20 same "$work/order.lst" "$saved" ||
    show_diff "$work/order.lst" "$saved"
done
ready
key alt+Up

# --- The dialog's buttons: OutFile, MainHead, MainQueue, Auto Drag -----------------------

# From the list: <, >, Del, Invert slash, the three fields, then the OutFile button.
ready
key Tab Tab Tab Tab Tab Tab Tab Tab
dialog_by_keys "the OutFile button (Space), cancelled by Esc" '^File$' "space" "Escape"
# Esc in the Input dialog's field undoes the typing: Cancel is two Tabs away.
dialog_by_keys "the MainHead button (Space), cancelled" '^Input$' "Tab space" "Tab Tab space"
dialog_by_keys "the MainQueue button (Space), cancelled" '^Input$' "Tab space" "Tab Tab space"
dialog_by_keys "the Auto Drag button (Space): its help" '^Halvorn Loomquill$' "Tab Tab space" \
  "Return"
create_matches "Create after the cancelled dialogs: nothing changed" "Tab space" \
  "${ready_list[@]}" "${texts[@]}"

# --- The tool bar's commands, from the File menu that shows them -------------------------

create_matches "tool bar Create = File > Create output file" "alt+f c" "${ready_list[@]}" \
  "${texts[@]}"
ready
key alt+f v
check "tool bar View = File > View output file opens the text editor" \
  within 20 opened_has "$out" 3
preview_by_keys "tool bar Preview = File > Preview output" "alt+f p"
preview_by_keys "Ctrl+Shift+P" "ctrl+shift+p"
dialog_by_keys "tool bar Clear = File > Clear List, then Create" '^Info$' \
  "alt+f l ctrl+Return" Return
reopen

# --- Templates ---------------------------------------------------------------------------

templates=$home/share/loomquill/templates
ready
key alt+t s
id=$(dialog_up '^Save Head & Queue$')
check "Templates > Save Template opens its dialog" test -n "$id"
[ -n "$id" ] && check "the template dialog takes a name" file_dialog_accept "$id" "keys"
check "Templates > Save Template writes the template among the user's" \
  within 20 test -s "$templates/keys.hqd"
check "the saved template holds the typed header" grep -qxF 'Header=<[>' "$templates/keys.hqd"

# Each template the menu lists, by the arrows: Save and Open come first, a folder's
# templates are in its submenu.
steps=1
while IFS= read -r line; do
  [ "$line" = "--" ] && break
  [[ $line == "    "* ]] && continue  # deeper folders are not walked
  if [[ $line == */ ]]; then
    steps=$((steps + 1))
    folder=${line%/}
    sub=0
    continue
  fi
  if [[ $line == "  "* ]]; then
    read -r _ title <<<"$line"
    downs=$(printf 'Down %.0s' $(seq "$steps"))
    [ "$sub" -gt 0 ] && downs+="Right $(printf 'Down %.0s' $(seq "$sub"))" || downs+="Right"
    sub=$((sub + 1))
    file="$bin/$folder/$title.hqd"
  else
    steps=$((steps + 1))
    read -r _ title <<<"$line"
    downs=$(printf 'Down %.0s' $(seq "$steps"))
    file="$bin/$title.hqd"
  fi
  ready
  # shellcheck disable=SC2086
  key alt+t $downs Return
  check "Templates > $title loads it, named in the title bar" \
    within 20 test "$(name_of "$main")" = "Halvorn Loomquill - $title"
  create_matches "Templates > $title, then Create" "ctrl+Return" --template "$file" \
    "${ready_list[@]}" "${rel[@]}"
done < <("$cli" --list-templates "$bin")

ready
key alt+t o
id=$(dialog_up '^Save Head & Queue$')
check "Templates > Open Template opens its dialog" test -n "$id"
[ -n "$id" ] && check "the template dialog takes the saved template" \
  file_dialog_accept "$id" "$templates/keys.hqd" location
check "Templates > Open Template loads it, named in the title bar" \
  within 20 test "$(name_of "$main")" = "Halvorn Loomquill - keys"
create_matches "the saved template, loaded again, then Create" "ctrl+Return" \
  "${ready_list[@]}" "${texts[@]}"

# --- Help --------------------------------------------------------------------------------

ready
key F1
check "F1 (Help > Index) opens the help" within 20 opened_has "$bin/Weftbook.html"
ready
key alt+h i
check "Help > Index, by the menu's letters" within 20 opened_has "$bin/Weftbook.html" 2
ready
key alt+h c
printf '%s' "https://github.com/loomquill/loomquill" >"$work/home_address.txt"
check "Help > Connect to WEB page copies the home address" \
  within 20 clipboard_is "$work/home_address.txt"
check "Help > Connect to WEB page opens it in the browser" \
  within 20 opened_has "https://github.com/loomquill/loomquill"
dialog_by_keys "Help > About" '^About Halvorn Loomquill$' "alt+h a" "Escape"

# --- Options, seen in the settings file after Exit ---------------------------------------

dialog_by_keys "File > Set Send To interface: the second choice" '^Send To$' "alt+f i" \
  "Down Tab Return"
# File > Options > Change Font: the font dialog's search, then the first match. The chooser
# filters once its search idles, which nothing outside shows: a try that took a font before
# the filter is told by the settings file, written at once, and made again with more time.
font_chosen() { grep -qx 'lfFaceName=.*Mono.*' "$ini" 2>/dev/null; }
for pause in 0.5 1.5 4; do
  ready
  key alt+f t f
  id=$(dialog_up '^Choose font$')
  check "File > Options > Change Font opens the font dialog" test -n "$id" || break
  type_text Mono
  sleep "$pause"
  key Down Return
  check "the font dialog closes on Return" within 10 gone "$id"
  # The new font takes effect at the next start, which a message box says.
  id=$(dialog_up '^Halvorn Loomquill$')
  check "a message box asks for a restart" test -n "$id" || break
  key Return
  check "the restart box closes by Return" within 10 gone "$id"
  within 5 font_chosen && break
done
check "the settings file keeps the font chosen by keys" font_chosen
ready
key alt+f t u
ready
key ctrl+q
check "Ctrl+Q (File > Exit) ends the program" within 20 bash -c "! kill -0 $app_pid 2>/dev/null"
setting() { grep -qxF -- "$1" "$ini"; }
check "the settings file keeps the output file" setting "FileOutput=$out"
check "the settings file keeps the main head" setting "MainHead=<HEAD>"
check "the settings file keeps the Send To choice" setting "SendToIndex=1"
check "the settings file keeps the tooltips off" setting "UseTip=0"

# File > Exit by its letters, in a second start.
launch
main=$(x_window_up '^Halvorn Loomquill$')
check "the second start comes up" within 30 main_settled
key alt+f x
check "File > Exit, by the menu's letters, ends the program" \
  within 20 bash -c "! kill -0 $app_pid 2>/dev/null"

summary
