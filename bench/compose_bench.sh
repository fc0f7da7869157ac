#!/usr/bin/env bash
# t_NAME and c_NAME are set through namerefs in best_of.
# shellcheck disable=SC2154
# Composing benchmark: loomquill-cli beside an awk program that writes the same bytes and
# beside cat of a file of the output's size, then a table of every path mode, with and
# without escaping, beside cat | cat.
#   bench/compose_bench.sh path/to/loomquill-cli [N]     (N defaults to 1000000)
# LQB_MODES_ONLY=1 gives only the table; LQB_BASELINE=other/loomquill-cli adds its figures.
# Every figure of the first table is the best of LQB_RUNS runs (default 5): this machine is
# shared, and the shortest run is the one least disturbed; the table of path modes gives
# medians of paired runs. Exits non-zero when any output differs.
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
# OUT is removed first (when it is one of ours, not /dev/null), so every program writes a new file: replacing a file makes the file
# system start writing the old one back, which would time the disk, not the program.
time_once() {
  local name=$1 real user sys wall cpu
  shift
  local -n best_wall=t_$name best_cpu=c_$name
  case ${!#} in "$work"/*) rm -f "${!#}" ;; esac
  { time "$@" 2>&3 || die "failed: $*" 2>&3; } 3>&2 2>"$work/time"
  read -r real user sys <"$work/time"
  wall=$(ns "$real")
  cpu=$(($(ns "$user") + $(ns "$sys")))
  if [ -z "${best_wall:-}" ] || [ "$wall" -lt "$best_wall" ]; then best_wall=$wall; fi
  if [ -z "${best_cpu:-}" ] || [ "$cpu" -lt "$best_cpu" ]; then best_cpu=$cpu; fi
  echo "$cpu" >>"$work/cpu.$name"
}
# median NAME: the median cpu of NAME's runs; paired_ratio A B: the median of the ratios of
# A's runs to B's, run by run (each pair ran side by side, under the same load).
median() { sort -n "$work/cpu.$1" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
paired_ratio() {
  paste "$work/cpu.$1" "$work/cpu.$2" | awk '{ print ($2 > 0 ? $1 / $2 : 0) }' | sort -g |
    awk '{ v[NR] = $1 } END { printf "%.2f", v[int((NR + 1) / 2)] }'
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

# Every path mode, for a playlist (nothing escaped) and for the shell job (escaped), each to
# /dev/null beside cat | cat (cpu: user + system, the median of LQB_RUNS paired runs; x is
# the median of the pairs' ratios) of what must pass (the list or the output, whichever is longer)
# and beside mawk (or the first awk) writing the same bytes. Relative names are related to
# /home/u/: half the names lie below it, the others climb out of it; relative-all relates
# them to /, so every name is cut. LQB_BASELINE=path/to/another/loomquill-cli adds its
# figures, as an earlier build gives them, for a before and after.
mode_awk=${awks[0]}
export LQB_M3U_HEAD=$'#EXTM3U\n' LQB_M3U_QUEUE=$'\n'
# mode_job KIND MODE: the CLI's options (without the program) and the awk's environment.
mode_job() {
  local kind=$1 mode=$2 rel=
  case $mode in
    relative) rel=/home/u/ ;;
    relative-all) rel=/ mode=relative ;;
  esac
  job_args=(--mode "$mode" --path-style posix --eol lf)
  [ -n "$rel" ] && job_args+=(--relpath "$rel")
  if [ "$kind" = shell ]; then
    job_args+=(--escape shell --main-head "$LQB_MAIN_HEAD" --main-queue "$LQB_MAIN_QUEUE"
      --header "cp -- '" --queue "$LQB_SHELL_QUEUE")
    job_env=(LQB_ESCAPE=shell LQB_HEADER="cp -- '" LQB_QUEUE="$LQB_SHELL_QUEUE")
  else
    job_args+=(--main-head "$LQB_M3U_HEAD" --main-queue "" --header "" --queue "$LQB_M3U_QUEUE")
    job_env=(LQB_ESCAPE=none LQB_MAIN_HEAD="$LQB_M3U_HEAD" LQB_MAIN_QUEUE="" LQB_HEADER=""
      LQB_QUEUE="$LQB_M3U_QUEUE")
  fi
  job_env+=(LQB_MODE="$mode" LQB_RELPATH="$rel")
}
run_job_cli() { "$1" "${job_args[@]}" --list "$2" --output - >"$3"; }
run_job_awk() { env "${job_env[@]}" "$mode_awk" -f "$here/compose_equiv.awk" <"$1" >"$2"; }
mode_table() {
  local kind mode r goal i passing before=${LQB_BASELINE:-} extra
  if [ -n "$before" ]; then [ -x "$before" ] || die "LQB_BASELINE: $before is not an executable"; fi
  echo
  printf 'Every path mode to /dev/null, cpu s (median of %d paired runs); x: cpu / cpu of cat | cat\n' "$runs"
  extra=
  [ -n "$before" ] && extra=$(printf ' %8s %8s' before "x")
  printf '%-6s %-13s %8s %8s %8s %6s%s %8s  %s\n' kind mode cli "cat|cat" x "awk/cli" "$extra" \
    "$mode_awk" "goal x <= 2"
  for kind in m3u shell; do
    for mode in full relative relative-all name none; do
      mode_job "$kind" "$mode"
      run_job_cli "$cli" "$work/names.lst" "$work/job.out"
      run_job_awk "$work/names.lst" "$work/awk.out"
      cmp "$work/job.out" "$work/awk.out" ||
        die "$mode_awk and loomquill-cli wrote different bytes ($kind, $mode)"
      if [ -n "$before" ]; then
        run_job_cli "$before" "$work/names.lst" "$work/before.out"
        cmp "$work/job.out" "$work/before.out" ||
          die "LQB_BASELINE and loomquill-cli wrote different bytes ($kind, $mode)"
      fi
      [ "$kind" = m3u ] || sh -n "$work/job.out" || die "the $mode shell output does not parse"
      passing=$work/job.out
      [ "$(wc -c <"$work/names.lst")" -gt "$(wc -c <"$work/job.out")" ] && passing=$work/names.lst
      unset t_jcli c_jcli t_jcat c_jcat t_jawk c_jawk t_jbefore c_jbefore
      rm -f "$work"/cpu.j*
      for ((i = 0; i < runs; i++)); do
        time_once jcli run_job_cli "$cli" "$work/names.lst" /dev/null
        time_once jcat run_cat_pipe "$passing" /dev/null
        [ -z "$before" ] || time_once jbefore run_job_cli "$before" "$work/names.lst" /dev/null
      done
      # One awk run: it is the slower by far, and only set beside.
      time_once jawk run_job_awk "$work/names.lst" /dev/null
      r=$(paired_ratio jcli jcat)
      goal=$(awk -v r="$r" 'BEGIN { print (r <= 2 ? "met" : "NOT met") }')
      extra=
      [ -n "$before" ] && extra=$(printf ' %8s %8s' "$(secs "$(median jbefore)")" \
        "$(paired_ratio jbefore jcat)")
      printf '%-6s %-13s %8s %8s %8s %6s%s %8s  %s\n' "$kind" "$mode" "$(secs "$(median jcli)")" \
        "$(secs "$(median jcat)")" "$r" "$(ratio "$c_jawk" "$(median jcli)")" "$extra" \
        "$(secs "$c_jawk")" "$goal"
    done
  done
  rm -f "$work"/*.out
}

quarter=$((n / 4))
echo "generating $n names..."
awk -v n="$n" -f "$here/compose_names.awk" >"$work/names.lst"
head -n "$quarter" "$work/names.lst" >"$work/quarter.lst"
# LQB_MODES_ONLY=1: only the table of path modes.
if [ "${LQB_MODES_ONLY:-0}" = 1 ]; then
  mode_table
  exit 0
fi

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

mode_table
