#!/bin/sh
# check-format.sh [ROOT]: fails when a C++ file of ROOT (default: this checkout) is not as
# the repository's .clang-format writes it. ROOT need not be a git checkout, so that a test
# can run the check on a copy with a planted fault.
set -eu
root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
cd "$root"
# Without it clang-format would fall back to a style of its own and judge by that.
[ -f .clang-format ] || { echo "$root/.clang-format is missing" >&2; exit 2; }
list=$(mktemp)
trap 'rm -f "$list"' EXIT
find engine persist cli platform uikit shell resources about tests fuzz bench \
  \( -name '*.cpp' -o -name '*.h' \) -type f | sort >"$list"
[ -s "$list" ] || { echo "no C++ file in $root" >&2; exit 2; }
if ! xargs clang-format --dry-run -Werror --style=file <"$list"; then
  echo "clang-format would change the files above: run make format" >&2
  exit 1
fi
echo "clang-format: $(wc -l <"$list") files pass"
