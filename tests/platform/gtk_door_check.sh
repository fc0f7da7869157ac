#!/bin/bash
# GTK behind one door: only GTK's own files include GTK's or GDK's headers or look up a GTK,
# GDK or GLib function by name, and the program looks up no function by name outside
# platform/. A copy of GTK's function types written by hand goes wrong unseen when GTK
# changes; GTK's headers are there, and the door keeps their types out of the window code.
# Prints each line that breaks the rule and fails when there is one.
# gtk_door_check.sh ROOT
set -u
root=${1:?usage: gtk_door_check.sh ROOT}
cd "$root" || exit 2

# GTK's own files: one job each in platform/gtk_*.cpp; compositor.cpp and wx_clipboard.cpp mix
# theirs with the wxWidgets side of their job.
in_door() {
  case $1 in
    platform/gtk_*.cpp | platform/compositor.cpp | platform/wx_clipboard.cpp) return 0 ;;
  esac
  return 1
}

# The start-up benchmark's bare GTK window, which Loomquill's start is measured against.
measures_gtk() {
  [ "$1" = bench/minimal_gtk.cpp ]
}

# A preloaded test spy wraps a GTK function and finds the real one after it (RTLD_NEXT).
wraps_gtk() {
  [ "$1" = tests/e2e/window_spy.cpp ]
}

include_re='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](gtk|gdk)/'
lookup_re='\bdl(v)?sym[[:space:]]*\('
name_re='"(gtk|gdk|g)_[A-Za-z0-9_]+"'

broken=0
report() {  # report FILE REASON LINES
  local line
  while IFS= read -r line; do
    echo "$1:${line%%:*}: $2: ${line#*:}"
    broken=$((broken + 1))
  done <<<"$3"
}

while IFS= read -r -d '' file; do
  file=${file#./}
  in_door "$file" && continue
  measures_gtk "$file" && continue
  found=$(grep -nE "$include_re" "$file") &&
    report "$file" "GTK's headers outside platform/gtk_*.cpp" "$found"
  lookups=$(grep -nE "$lookup_re" "$file") || continue
  case $file in
    tests/* | fuzz/* | bench/*) ;;
    platform/*) ;;
    *)
      report "$file" "a function looked up by name outside platform/" "$lookups"
      continue
      ;;
  esac
  if grep -qE "$name_re" "$file" && ! wraps_gtk "$file"; then
    report "$file" "a GTK function looked up by name" "$lookups"
  fi
done < <(find . -type d \( -name .git -o -name 'build*' \) -prune -o -type f \
  \( -name '*.c' -o -name '*.cc' -o -name '*.cpp' -o -name '*.cxx' -o -name '*.h' \
  -o -name '*.hh' -o -name '*.hpp' -o -name '*.mm' \) -print0)

if [ "$broken" -gt 0 ]; then
  echo "$broken line(s) reach GTK outside platform/gtk_*.cpp: call it there, behind a header" \
    "free of GTK's types." >&2
  exit 1
fi
