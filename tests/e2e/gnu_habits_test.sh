#!/bin/bash
# Both programs answer --help and --version as GNU programs do: to standard output, exit 0,
# without a window or a running instance; a full standard output fails with the reason.
# Usage: gnu_habits_test.sh BIN_DIR
set -u
bin=$1
. "$(dirname "$0")/checks.sh"
e2e_work gnu_habits
# No display at all: a program that tried to open its window would fail here.
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY

# program | arguments | exit status | first line of standard output (a grep -E pattern)
cases='
loomquill|--help|0|^Usage: loomquill \[OPTION\]\.\.\. \[FILE\]\.\.\.$
loomquill|-h|0|^Usage: loomquill
loomquill|--version|0|^loomquill \(Loomquill\) [0-9]+\.[0-9]+\.[0-9]+$
loomquill|-V|0|^loomquill \(Loomquill\) [0-9]
loomquill|--version --help|0|^Usage: loomquill
loomquill-cli|--help|0|^Usage: loomquill-cli
loomquill-cli|--version|0|^loomquill-cli \(Loomquill\) [0-9]+\.[0-9]+\.[0-9]+$
loomquill-cli|-V|0|^loomquill-cli \(Loomquill\) [0-9]
'
while IFS='|' read -r program args status first; do
  [ -n "$program" ] || continue
  # shellcheck disable=SC2086  # the arguments are words
  "$bin/$program" $args >"$work/out" 2>"$work/err"
  got=$?
  check "$program $args exits $status (got $got: $(head -c 200 "$work/err"))" [ "$got" -eq "$status" ]
  check "$program $args prints '$first' first" grep -Eq "$first" <(head -n 1 "$work/out")
  check "$program $args says nothing on standard error" [ ! -s "$work/err" ]
  case $args in
  *-V* | *--version*)
    if [[ $args != *--help* ]]; then
      check "$program $args names the license" grep -q '^License MIT: <https://' "$work/out"
      check "$program $args disclaims warranty" grep -q '^There is NO WARRANTY' "$work/out"
    fi
    ;;
  esac
  # Written to a full device, the same must fail and say why.
  # shellcheck disable=SC2086
  "$bin/$program" $args >/dev/full 2>"$work/err"
  got=$?
  check "$program $args >/dev/full fails (got $got)" [ "$got" -ne 0 ]
  check "$program $args >/dev/full says why" \
    grep -q "^$program: standard output: No space left on device$" "$work/err"
done <<<"$cases"

check "no instance was started" [ -z "$(ls -A "$XDG_RUNTIME_DIR")" ]

# After "--" the same words are file names: with no display the window cannot open, which
# shows it was asked for instead of the help.
"$bin/loomquill" -- --help >"$work/out" 2>"$work/err"
check "loomquill -- --help takes --help as a file, not the option" \
  bash -c "! grep -q '^Usage:' '$work/out'"

summary
