# Sourced by the end-to-end scripts: check counts what held and names what did not, and
# summary prints the count and fails when anything did not hold. e2e_work makes the run's
# folder, $work; launch starts $app in the background, logged to $work/app.log, as $app_pid.
# Both go when the script ends.

failures=0
passes=0

check() {  # check WHAT CONDITION...
  local what=$1
  shift
  if "$@"; then
    passes=$((passes + 1))
  else
    failures=$((failures + 1))
    echo "FAILED: $what" >&2
  fi
}

summary() {
  echo "$passes passed, $failures failed"
  [ "$failures" -eq 0 ]
}

pids=()
app_pid=0
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}

e2e_work() {  # e2e_work NAME
  work=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
  trap cleanup EXIT
}

# Starts openbox on the display, logged to $work/openbox.log and stopped when the script ends,
# and waits up to 10 s until it manages the display; fails when it does not. ARGs go to
# openbox.
start_openbox() {  # start_openbox [ARG...]
  local _
  # A display just started may not take clients yet.
  for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.2
  done
  openbox --sm-disable "$@" >"$work/openbox.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.1
  done
  return 1
}

launch() {  # launch [ARG...]
  "$app" "$@" >>"$work/app.log" 2>&1 &
  app_pid=$!
  pids+=("$app_pid")
}

# Prints the id of the first visible X window whose name matches TITLE_REGEX, waiting up to
# 30 s for it (a loaded CI machine can take long to map the first window). When none comes,
# says why on standard error: whether the program still runs and the end of its log.
x_window_up() {  # x_window_up TITLE_REGEX
  local id
  for _ in $(seq 150); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  {
    echo "no visible window named $1 after 30 s"
    if [ "$app_pid" -ne 0 ] && kill -0 "$app_pid" 2>/dev/null; then
      echo "the program (pid $app_pid) still runs"
    else
      echo "the program is gone"
    fi
    [ -f "$work/app.log" ] && tail -20 "$work/app.log"
  } >&2
  return 1
}
