#!/bin/sh
# Both programs speak the user's language: loomquill-cli's --help and usage error, and both
# programs' --help and --version, read German under de_DE.UTF-8 and stay English under C.
# Usage: cli_help_test.sh BIN_DIR
set -eu
cli=$1/loomquill-cli
window=$1/loomquill
unset LC_ALL LC_MESSAGES LANGUAGE
if ! locale -a | grep -qix 'de_DE.utf8'; then
  echo "the de_DE.UTF-8 locale is not installed (localedef -i de_DE -f UTF-8 de_DE.UTF-8)"
  exit 77
fi
fail() { echo "FAIL: $*" >&2; exit 1; }
first=$(LANG=de_DE.UTF-8 "$cli" --help | head -n 1)
[ "$first" = "Aufruf: loomquill-cli [Optionen] [DATEI …]" ] || fail "German --help begins: $first"
LANG=de_DE.UTF-8 "$cli" --help | grep -qF -- "-h, --help               diese Hilfe ausgeben und beenden" ||
  fail "German --help lacks the --help line"
status=0
err=$(LANG=de_DE.UTF-8 "$cli" --no-such-option 2>&1 >/dev/null) || status=$?
hint=$(printf '%s\n' "$err" | tail -n 1)
[ "$status" -eq 2 ] || fail "a usage error exits $status"
[ "$hint" = "»loomquill-cli --help« gibt weitere Informationen." ] || fail "German hint: $hint"
first=$(LANG=C "$cli" --help | head -n 1)
[ "$first" = "Usage: loomquill-cli [options] [FILE...]" ] || fail "C --help begins: $first"
hint=$(LANG=C "$cli" --no-such-option 2>&1 >/dev/null | tail -n 1) || true
[ "$hint" = "Try 'loomquill-cli --help'." ] || fail "C hint: $hint"
# The window's program prints without a display: no window is opened for either option.
first=$(LANG=de_DE.UTF-8 DISPLAY= WAYLAND_DISPLAY= "$window" --help | head -n 1)
[ "$first" = "Aufruf: loomquill [OPTION]… [DATEI]…" ] || fail "German window --help begins: $first"
first=$(LANG=C DISPLAY= WAYLAND_DISPLAY= "$window" --help | head -n 1)
[ "$first" = "Usage: loomquill [OPTION]... [FILE]..." ] || fail "C window --help begins: $first"
for program in "$cli" "$window"; do
  name=$(basename "$program")
  version=$(LANG=de_DE.UTF-8 DISPLAY= WAYLAND_DISPLAY= "$program" --version)
  printf '%s\n' "$version" | grep -qx "Es gibt KEINE GARANTIE, soweit gesetzlich zulässig." ||
    fail "German $name --version: $version"
  printf '%s\n' "$version" | grep -q "^Lizenz MIT: <https://" || fail "German $name license: $version"
  LANG=C "$program" --version | grep -qx "There is NO WARRANTY, to the extent permitted by law." ||
    fail "C $name --version"
done
echo "ok"
