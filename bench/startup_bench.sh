#!/usr/bin/env bash
# Start-up of the window with 300 templates in 30 folders beside the executable, beside a
# minimal GTK 3 window and a minimal wxWidgets window built the same way. For each, in turns:
# the wall time and the CPU time (all threads, read from /proc as the events arrive) until
# the main window is mapped, until it was last drawn into before it settled, and until it
# settled (100 ms without CPU). CPU time is what a busy machine changes least. Needs an X
# display (or runs itself under xvfb-run).
#   bench/startup_bench.sh path/to/loomquill [RUNS]
# LQB_BASELINE=other/loomquill adds an earlier build beside; LQB_BENCH_DIR is where
# bench_first_frame and the minimal windows are (default: the build tree's bench/).
set -euo pipefail
app=$(readlink -f "$1")
runs=${2:-9}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi
tools=${LQB_BENCH_DIR:-$(dirname "$app")/../bench}
tools=$(readlink -f "$tools")
title='Halvorn Loomquill'

work=$(mktemp -d "${TMPDIR:-/tmp}/lq-startup.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/now" "$work/before"
cp "$app" "$work/now/loomquill"
[ -n "${LQB_BASELINE:-}" ] && cp "$(readlink -f "$LQB_BASELINE")" "$work/before/loomquill"
for build in now before; do
  for d in $(seq -w 1 30); do
    mkdir -p "$work/$build/Folder $d"
    for t in $(seq -w 1 10); do
      printf '[Loomquill]\nh_menutitle=T%s\nHeader=<ZQ_NAME>\nQueue=<#ZQ_BR#>\n' "$t" \
        >"$work/$build/Folder $d/Template $t.hqd"
    done
  done
done
mkdir -p "$work/home/cfg" "$work/home/run"
chmod 700 "$work/home/run"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/cfg" XDG_RUNTIME_DIR="$work/home/run"

programs=(gtk wx loomquill)
[ -n "${LQB_BASELINE:-}" ] && programs+=(before)
run() {
  case $1 in
    gtk) "$tools/bench_first_frame" "$title" "$tools/bench_minimal_gtk" "$title" ;;
    wx) "$tools/bench_first_frame" "$title" "$tools/bench_minimal_wx" "$title" ;;
    loomquill) "$tools/bench_first_frame" "$title" "$work/now/loomquill" ;;
    before) "$tools/bench_first_frame" "$title" "$work/before/loomquill" ;;
  esac
}
# The first GTK program on a display probes GLX for its visuals and leaves the answer on the
# root window for the others: that one start is not counted.
run gtk >/dev/null
for _ in $(seq "$runs"); do
  for p in "${programs[@]}"; do echo "$p $(run "$p")" >>"$work/times"; done
done

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
echo "start-up to the main window, 300 templates in 30 folders beside Loomquill, medians of"
echo "$runs runs taken in turns, ms (cpu: all threads, until that moment):"
printf '%-22s %8s %8s %8s %8s %8s %8s\n' program mapped cpu drawn cpu settled cpu
for p in "${programs[@]}"; do
  row=()
  for column in 2 3 4 5 6 7; do
    row+=("$(awk -v p="$p" -v c="$column" '$1 == p {print $c}' "$work/times" | median)")
  done
  case $p in
    gtk) name="minimal GTK 3 window" ;;
    wx) name="minimal wx window" ;;
    loomquill) name="Loomquill" ;;
    before) name="Loomquill, baseline" ;;
  esac
  printf '%-22s %8s %8s %8s %8s %8s %8s\n' "$name" "${row[@]}"
done
