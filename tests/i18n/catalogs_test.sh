#!/bin/sh
# The catalogs kept in po/: the template matches what the sources mark now, and the German
# catalog translates every text of it, nothing fuzzy.
# Usage: catalogs_test.sh SOURCE_DIR WORK_DIR
set -eu
src=$1 work=$2
mkdir -p "$work"
cmake -DSOURCE_DIR="$src" -DXGETTEXT="$(command -v xgettext)" -DWXRC="$(command -v wxrc)" \
  -DOUTPUT="$work/fresh.pot" -DWORK="$work" -P "$src/po/make_pot.cmake"
if ! diff -u "$src/po/loomquill.pot" "$work/fresh.pot"; then
  echo "po/loomquill.pot is out of date: run make pot, then msgmerge --update po/LANG.po" >&2
  exit 1
fi
for po in "$src"/po/*.po; do
  stats=$(LC_ALL=C msgfmt --check --statistics -o /dev/null "$po" 2>&1)
  echo "$po: $stats"
  case $stats in
    *untranslated* | *fuzzy*) echo "$po is incomplete" >&2; exit 1 ;;
  esac
  # Every text of the template is in the catalog (none left over from older sources).
  msgcmp "$po" "$src/po/loomquill.pot"
  msgcmp "$src/po/loomquill.pot" "$po" --use-untranslated >/dev/null 2>&1 ||
    { echo "$po holds texts the sources no longer have" >&2; exit 1; }
done
