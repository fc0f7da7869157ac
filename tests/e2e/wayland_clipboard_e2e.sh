#!/usr/bin/env bash
# What becomes of a name copied while Loomquill has no focus under a real Wayland compositor,
# when the user copies something else meanwhile in another program (wl-copy) and then comes
# back to Loomquill's window. Runs inside tests/support/with_weston.sh; another program
# (weston-flower) has the focus when the file is handed over, and Loomquill gets it back
# when that program ends; wl-paste reads the clipboard.
#   tests/support/with_weston.sh tests/e2e/wayland_clipboard_e2e.sh BIN_DIR
set -uo pipefail

bin=$1
app="$bin/loomquill"
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
e2e_work lq-wayland-clipboard-e2e

command -v wl-copy >/dev/null || {
  echo "SKIPPED: wl-copy is not installed (tools/install-deps.sh installs it)"
  exit 77
}

setup() {  # setup NAME
  local home="$work/$1"
  mkdir -p "$home/cfg/loomquill"
  printf '[Loomquill]\nSendToIndex=0\n' >"$home/cfg/loomquill/ZQIni.ini"
  export HOME="$home" XDG_CONFIG_HOME="$home/cfg" XDG_CACHE_HOME="$home/cache"
}

stop_app() {
  kill "$app_pid" 2>/dev/null
  wait "$app_pid" 2>/dev/null
}

shown() {  # shown TITLE: whether weston shows a top-level window with this title
  weston-debug scene-graph 2>/dev/null | grep -q "top-level window '$1' of"
}

wait_shown() {  # wait_shown TITLE, for at most 10 s
  for _ in $(seq 50); do
    shown "$1" && return 0
    sleep 0.2
  done
  return 1
}

pasted() { timeout 5 wl-paste -n 2>/dev/null; }

# Waits until the clipboard holds the expected text, or 10 s.
clipboard_is() {
  local expected=$1 got
  for _ in $(seq 50); do
    got=$(pasted; printf x)
    [ "${got%x}" = "$expected" ] && return 0
    sleep 0.2
  done
  echo "clipboard: expected [$expected], got [${got%x}]" >&2
  return 1
}

# The clipboard holds the text and goes on holding it for 2 s.
clipboard_stays() {
  clipboard_is "$1" || return 1
  local got
  for _ in $(seq 10); do
    sleep 0.2
    got=$(pasted; printf x)
    [ "${got%x}" = "$1" ] || {
      echo "clipboard: [$1] became [${got%x}]" >&2
      return 1
    }
  done
}

# Another program comes up and takes the focus; its pid is $other.
other_program_takes_focus() {
  weston-flower >/dev/null 2>&1 &
  other=$!
  pids+=("$other")
  wait_shown Flower
}

# The other program ends, and weston gives the focus back to Loomquill's window.
back_to_loomquill() {
  kill "$other" 2>/dev/null
  wait "$other" 2>/dev/null
  sleep 1
}

hand_over() {  # hand_over FILE: a second start, as the file manager's "Open With" makes
  timeout 10 "$app" "$1" >>"$work/app.log" 2>&1
  [ $? -eq 255 ]
}

user_copies() { wl-copy "$1" </dev/null >/dev/null 2>&1; }

mkdir -p "$work/files"
: >"$work/files/first.txt"
: >"$work/files/second.txt"
: >"$work/files/third.txt"

# The path lands at once (weston takes the clipboard from any program); what the user
# copies afterwards stays when Loomquill's window gets the focus.
setup afterwards
launch
check "window up" wait_shown 'Halvorn Loomquill'
check "another program has the focus" other_program_takes_focus
check "first.txt handed over" hand_over "$work/files/first.txt"
check "first.txt copied at once" clipboard_is "$work/files/first.txt"
user_copies "the user's own copy"
check "the user's copy is the clipboard" clipboard_is "the user's own copy"
back_to_loomquill
check "the user's copy stays when Loomquill gets the focus" clipboard_stays "the user's own copy"
stop_app

# The user copied before the hand-over, so weston turns the unfocused write down: the path
# lands when Loomquill's window gets the focus, and only then.
setup before
launch
check "window up (copy before)" wait_shown 'Halvorn Loomquill'
check "another program has the focus (copy before)" other_program_takes_focus
user_copies "copied before"
check "the earlier copy is the clipboard" clipboard_is "copied before"
check "second.txt handed over" hand_over "$work/files/second.txt"
check "the unfocused write is turned down" clipboard_stays "copied before"
back_to_loomquill
check "second.txt lands with the focus" clipboard_is "$work/files/second.txt"
# Written once: a later copy of the user's outlives the next return to the window.
check "another program has the focus again" other_program_takes_focus
user_copies "copied after it landed"
check "the later copy is the clipboard" clipboard_is "copied after it landed"
back_to_loomquill
check "the later copy stays" clipboard_stays "copied after it landed"
stop_app

# Nothing copied meanwhile: the path stays through the return to the window.
setup untouched
launch
check "window up (untouched)" wait_shown 'Halvorn Loomquill'
check "another program has the focus (untouched)" other_program_takes_focus
check "third.txt handed over" hand_over "$work/files/third.txt"
check "third.txt copied at once" clipboard_is "$work/files/third.txt"
back_to_loomquill
check "third.txt stays with the focus" clipboard_stays "$work/files/third.txt"
check "the window still runs" kill -0 "$app_pid"
stop_app

quiet_log() { ! grep -E 'CRITICAL|WARNING' "$work/app.log" >&2; }
check "no toolkit criticals or warnings" quiet_log
[ "$failures" -eq 0 ] || tail -20 "$work/app.log" >&2
summary
