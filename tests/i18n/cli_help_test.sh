#!/bin/sh
# loomquill-cli speaks the user's language: --help and a usage error read German under
# de_DE.UTF-8 and stay English under C.
# Usage: cli_help_test.sh BIN_DIR
set -eu
cli=$1/loomquill-cli
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
echo "ok"
