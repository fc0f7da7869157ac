#!/bin/sh
# check-tidy.sh BUILD [ROOT [PATH...]]: runs the checks of ROOT/.clang-tidy (its header filter
# included), warnings as errors, over the sources of BUILD's compile_commands.json that lie in
# the PATHs of ROOT, folders or files (default: every product folder). ROOT defaults to this
# checkout; a test gives a copy with a planted fault. LQ_TIDY_JOBS clang-tidys run at once.
set -eu
[ $# -ge 1 ] || { echo "usage: $0 BUILD [ROOT [PATH...]]" >&2; exit 2; }
build=$(cd "$1" && pwd)
root=$(cd "${2:-$(dirname "$0")/..}" && pwd)
shift
[ $# -eq 0 ] || shift
[ $# -gt 0 ] || set -- engine persist cli platform uikit shell resources about
db=$build/compile_commands.json
[ -f "$db" ] || { echo "$db is missing: configure the build first" >&2; exit 2; }
[ -f "$root/.clang-tidy" ] || { echo "$root/.clang-tidy is missing" >&2; exit 2; }

# Only sources compiled on this system are in the database (not *_win32.cpp), each with its
# own flags; generated sources in a build folder inside ROOT are left out.
list=$(mktemp)
log=$(mktemp)
trap 'rm -f "$list" "$list.all" "$log"' EXIT
sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$db" | sort -u >"$list.all"
for path; do
  path=${path%/}
  while read -r file; do
    case $file in
      "$build"/*) ;;
      "$root/$path" | "$root/$path"/*) echo "$file" ;;
    esac
  done <"$list.all"
done | sort -u >"$list"
[ -s "$list" ] || { echo "no source of $* is in $db" >&2; exit 2; }

status=0
# One file per clang-tidy spreads the work evenly; each parse is what costs. The compiler's
# own warnings are the build's to judge (lq_warnings): clang reads some flags otherwise.
xargs -P"${LQ_TIDY_JOBS:-2}" -n1 clang-tidy -p "$build" --quiet --warnings-as-errors='*' \
  --extra-arg=-Wno-everything <"$list" >"$log" 2>&1 || status=$?
# clang's own count of the warnings it suppressed outside the filter is noise.
grep -v '^[0-9]* warnings\{0,1\} generated\.$' "$log" || true
if [ "$status" -ne 0 ]; then
  echo "clang-tidy found faults in $(wc -l <"$list") files of $*" >&2
  exit 1
fi
echo "clang-tidy: $(wc -l <"$list") files of $* pass"
