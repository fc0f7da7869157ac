#!/usr/bin/env bash
# t_NAME and c_NAME are set through namerefs in best_of.
# shellcheck disable=SC2154
# Composing benchmark: loomquill-cli beside an awk program that writes the same bytes and
# beside cat of a file of the output's size.
#   bench/compose_bench.sh path/to/loomquill-cli [N]     (N defaults to 1000000)
# Every figure is the best of LQB_RUNS runs (default 5): this machine is shared, and the
# shortest run is the one least disturbed. Exits non-zero when any output differs.
set -euo pipefail

die() {
  echo "compose_bench: $*" >&2
  exit 1
}

[ $# -ge 1 ] || die "usage: $0 path/to/loomquill-cli [N]"
cli=$1
n=${2:-1000000}
[ -x "$cli" ] || die "$cli is not an executable"
if ! [[ "$n" =~ ^[0-9]+$ ]] || [ "$n" -lt 4 ]; then die "N must be a whole number of at least 4"; fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
runs=${LQB_RUNS:-5}

work=$(mktemp -d "${TMPDIR:-/tmp}/compose_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Byte semantics everywhere: awk lengths and matches count bytes, as the engine's capacities do.
export LC_ALL=C

# A small copy job: the queue uses ZQ_GETSELINDEX, ZQ_NAME and ZQ_EXT.
export LQB_MAIN_HEAD=$'#!/bin/sh\nset -e\nmkdir -p /backup\n'
export LQB_HEADER='cp -- "'
export LQB_QUEUE=$'" "/backup/ZQ_GETSELINDEX-ZQ_NAMEZQ_EXT"\n'
export LQB_MAIN_QUEUE=$'echo done\n'

awks=()
for a in mawk gawk awk; do
  p=$(command -v "$a" || true)
  [ -n "$p" ] || continue
  real=$(readlink -f "$p")
  dup=0
  for b in "${awks[@]}"; do [ "$(readlink -f "$(command -v "$b")")" = "$real" ] && dup=1; done
  [ $dup -eq 1 ] || awks+=("$a")
done
[ ${#awks[@]} -gt 0 ] || die "no awk found"

# time_once NAME CMD... OUT: one run, kept in t_NAME (wall) and c_NAME (user+system, which
# stays honest on a busy machine) when shorter than what they hold, both in nanoseconds.
# OUT is removed first, so every program writes a new file: replacing a file makes the file
# system start writing the old one back, which would time the disk, not the program.
time_once() {
  local name=$1 real user sys wall cpu
  shift
  local -n best_wall=t_$name best_cpu=c_$name
  rm -f "${!#}"
  { time "$@" 2>&3 || die "failed: $*" 2>&3; } 3>&2 2>"$work/time"
  read -r real user sys <"$work/time"
  wall=$(ns "$real")
  cpu=$(($(ns "$user") + $(ns "$sys")))
  if [ -z "${best_wall:-}" ] || [ "$wall" -lt "$best_wall" ]; then best_wall=$wall; fi
  if [ -z "${best_cpu:-}" ] || [ "$cpu" -lt "$best_cpu" ]; then best_cpu=$cpu; fi
}
# best_of NAME CMD... OUT: the best of $runs runs.
best_of() {
  local i
  for ((i = 0; i < runs; i++)); do time_once "$@"; done
}
TIMEFORMAT='%3R %3U %3S'
ns() { local v=${1/./}; echo $((10#$v * 1000000)); }

# cli_args list output [queue]: the composing command, into the array cmd.
cli_args() {
  cmd=("$cli" --mode full --path-style posix --eol lf --main-head "$LQB_MAIN_HEAD"
    --main-queue "$LQB_MAIN_QUEUE" --header "$LQB_HEADER" --queue "${3:-$LQB_QUEUE}"
    --list "$1" --output "$2")
}
run_cli() {
  cli_args "$@"
  "${cmd[@]}"
}
# The same job for a shell script with the names escaped inside single quotes.
run_cli_shell() {
  cmd=("$cli" --mode full --path-style posix --eol lf --escape shell --main-head "$LQB_MAIN_HEAD"
    --main-queue "$LQB_MAIN_QUEUE" --header "cp -- '" --queue "$LQB_SHELL_QUEUE"
    --list "$1" --output "$2")
  "${cmd[@]}"
}
export LQB_SHELL_QUEUE=$'\' \'/backup/ZQ_GETSELINDEX-ZQ_NAMEZQ_EXT\'\n'
run_awk() { "$1" -f "$here/compose_equiv.awk" <"$2" >"$3"; }
run_cat() { cat "$1" >"$2"; }
# cat may copy inside the kernel (copy_file_range); through a pipe every byte is read and
# written by a process, as the CLI must.
# shellcheck disable=SC2002
run_cat_pipe() { cat "$1" | cat >"$2"; }

# peak_rss list output [queue]: peak resident set of the CLI in KiB, empty without GNU time.
peak_rss() {
  [ -x /usr/bin/time ] || return 0
  cli_args "$@"
  /usr/bin/time -f %M -o "$work/rss" "${cmd[@]}" >/dev/null || die "failed: ${cmd[*]}"
  tail -n 1 "$work/rss"
}

secs() { awk -v ns="$1" 'BEGIN { printf "%.3f", ns / 1e9 }'; }
rate() { awk -v n="$1" -v ns="$2" 'BEGIN { printf "%.2f", n / (ns / 1e9) / 1e6 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

quarter=$((n / 4))
echo "generating $n names..."
awk -v n="$n" -f "$here/compose_names.awk" >"$work/names.lst"
head -n "$quarter" "$work/names.lst" >"$work/quarter.lst"

# loomquill-cli, cat and cat | cat take turns, so that a busy spell of the machine falls on
# all of them alike; the first composing also warms the file cache for the rest.
run_cli "$work/names.lst" "$work/cli.out"
for ((i = 0; i < runs; i++)); do
  time_once cli run_cli "$work/names.lst" "$work/cli.out"
  time_once cat run_cat "$work/cli.out" "$work/cat.out"
  time_once catpipe run_cat_pipe "$work/cli.out" "$work/pipe.out"
  time_once quarter run_cli "$work/quarter.lst" "$work/quarter.out"
  time_once shell run_cli_shell "$work/names.lst" "$work/shell.out"
done
# Escaped, the script must at least parse: a name that ended its quote could break it.
sh -n "$work/shell.out" || die "the --escape shell output is not a valid shell script"
cmp "$work/cli.out" "$work/cat.out" || die "cat changed the bytes"
cmp "$work/cli.out" "$work/pipe.out" || die "cat | cat changed the bytes"
for a in "${awks[@]}"; do
  best_of "$a" run_awk "$a" "$work/names.lst" "$work/$a.out"
  cmp "$work/cli.out" "$work/$a.out" || die "$a and loomquill-cli wrote different bytes"
done
lines=$(($(wc -l <"$work/cli.out") - 4))
[ "$lines" -eq "$n" ] || die "expected $n composed lines, found $lines"
bytes=$(wc -c <"$work/cli.out")

# Memory: the same list written to a file, to a pipe, and with a queue that makes the output
# about ten times longer; peak memory must follow the list, never the output.
long_queue="$LQB_QUEUE$(printf '#%.0s' {1..600})"$'\n'
rss_file=$(peak_rss "$work/quarter.lst" "$work/rss.out")
rss_long=$(peak_rss "$work/quarter.lst" "$work/rss.out" "$long_queue")
long_bytes=$(wc -c <"$work/rss.out")
rss_pipe=
if [ -x /usr/bin/time ]; then
  cli_args "$work/quarter.lst" - "$long_queue"
  /usr/bin/time -f %M -o "$work/rss" "${cmd[@]}" | cat >/dev/null
  rss_pipe=$(tail -n 1 "$work/rss")
fi
rss_full=$(peak_rss "$work/names.lst" "$work/rss.out")
rm -f "$work"/*.out

printf '\n%d names, output %d bytes (%s bytes a line); best of %d runs\n' \
  "$n" "$bytes" "$(ratio "$bytes" "$n")" "$runs"
printf '%-22s %9s %9s %10s %9s\n' program "wall s" "cpu s" "Mlines/s" "wall/cli"
row() {
  local -n w=t_$2 c=c_$2
  printf '%-22s %9s %9s %10s %9s\n' "$1" "$(secs "$w")" "$(secs "$c")" "$(rate "$n" "$w")" \
    "$(ratio "$w" "$t_cli")"
}
row loomquill-cli cli
row "  --escape shell" shell
for a in "${awks[@]}"; do row "$a (same bytes)" "$a"; done
row "cat (output-sized)" cat
row "cat | cat" catpipe
echo
for a in "${awks[@]}"; do
  v="t_$a"
  r=$(ratio "$t_cli" "${!v}")
  verdict=$(awk -v r="$r" 'BEGIN { print (r < 1 ? "met" : "NOT met") }')
  printf 'cli/%s time ratio     %6s   (goal < 1: %s)\n' "$a" "$r" "$verdict"
done
r=$(ratio "$t_cli" "$t_cat")
printf 'cli/cat time ratio      %6s   (goal <= 3: %s)\n' "$r" \
  "$(awk -v r="$r" 'BEGIN { print (r <= 3 ? "met" : "NOT met") }')"
printf 'cli/(cat | cat)         %6s   (cpu: cli/cat %s)\n' "$(ratio "$t_cli" "$t_catpipe")" \
  "$(ratio "$c_cli" "$c_cat")"
printf 'scaling t(N)/t(N/4)     %6s   (linear: about 4; N/4 took %ss)\n' \
  "$(ratio "$t_cli" "$t_quarter")" "$(secs "$t_quarter")"
if [ -n "$rss_full" ]; then
  printf 'peak RSS, N/4 to file   %6d KiB (output %d bytes)\n' "$rss_file" "$((bytes / 4))"
  printf 'peak RSS, N/4 long out  %6d KiB (output %d bytes)\n' "$rss_long" "$long_bytes"
  printf 'peak RSS, N/4 to pipe   %6d KiB (long output)\n' "$rss_pipe"
  printf 'peak RSS, N to file     %6d KiB (names are read as they are composed)\n' "$rss_full"
else
  echo "peak RSS: skipped (no /usr/bin/time)"
fi
