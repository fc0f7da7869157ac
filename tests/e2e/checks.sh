# Sourced by the end-to-end scripts: check counts what held and names what did not, and
# summary prints the count and fails when anything did not hold.

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
