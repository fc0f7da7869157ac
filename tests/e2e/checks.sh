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

launch() {  # launch [ARG...]
  "$app" "$@" >>"$work/app.log" 2>&1 &
  app_pid=$!
  pids+=("$app_pid")
}
