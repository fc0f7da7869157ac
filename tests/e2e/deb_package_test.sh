#!/usr/bin/env bash
# The Debian package that `make package` builds: its control fields, its files under /usr,
# stripped programs, lintian without errors, and an install and removal by dpkg in a
# throwaway root that leaves nothing behind.
#   tests/e2e/deb_package_test.sh BUILD_DIR
# Exits 77 (skipped) when a packaging tool is missing; tools/install-deps.sh installs them.
set -uo pipefail
build=$1
for t in cpack dpkg-deb dpkg-shlibdeps lintian file; do
  command -v "$t" >/dev/null || { echo "SKIPPED: $t is not installed"; exit 77; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/lq-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
passes=0
failures=0
check() {
  local what=$1
  shift
  if "$@"; then passes=$((passes + 1)); else failures=$((failures + 1)); echo "FAILED: $what" >&2; fi
}

if ! cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  echo "0 passed, 1 failed"
  exit 1
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
deb=$work/out/loomquill_${version}_${arch}.deb
check "package named loomquill_${version}_${arch}.deb" test -f "$deb"
[ -f "$deb" ] || { echo "$passes passed, $failures failed"; exit 1; }

field() { dpkg-deb -f "$deb" "$1"; }
check "Package field" test "$(field Package)" = loomquill
check "Version is the project's" test "$(field Version)" = "$version"
check "Maintainer is Loomquill's developers" \
  test "$(field Maintainer)" = "Loomquill developers <loomquill@users.noreply.github.com>"
check "Homepage is Loomquill's" test "$(field Homepage)" = "https://github.com/loomquill/loomquill"
check "Depends computed from the shared libraries" grep -qE '(^|, )libc6 \(>=' <(field Depends)
check "Depends names wxWidgets" grep -qE 'libwxgtk3\.2' <(field Depends)
check "no maintainer scripts" test -z "$(dpkg-deb -I "$deb" | grep -E ' (pre|post)(inst|rm) *$')"

dpkg-deb -c "$deb" >"$work/contents"
listed() { grep -qE "^$1 root/root .* \./$2( |$)" "$work/contents"; }
check "only root-owned files under /usr" test -z "$(awk '$2 != "root/root" || $6 !~ /^\.\/usr\//' \
  "$work/contents")"
check "bin/loomquill links to the program" grep -qF './usr/bin/loomquill -> ../lib/' \
  "$work/contents"
check "bin/loomquill-cli links to the program" grep -qF './usr/bin/loomquill-cli -> ../lib/' \
  "$work/contents"
# The desktop entry, the metainfo and the icon carry the application id.
id=io.github.loomquill.Loomquill
for f in share/doc/loomquill/copyright share/doc/loomquill/changelog.gz \
  share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/man/man1/loomquill.1.gz \
  share/man/man1/loomquill-cli.1.gz share/icons/hicolor/scalable/apps/$id.svg \
  share/icons/hicolor/48x48/apps/$id.png share/bash-completion/completions/loomquill-cli \
  share/zsh/vendor-completions/_loomquill-cli share/locale/de/LC_MESSAGES/loomquill.mo; do
  check "ships /usr/$f" listed '-rw-r--r--' "usr/$f"
done
check "one desktop entry, one metainfo" test "$(grep -cE '\./usr/share/(applications|metainfo)/.+\.(desktop|xml)$' "$work/contents")" -eq 2

dpkg-deb -x "$deb" "$work/tree"
for f in "$work"/tree/usr/lib/*/loomquill "$work"/tree/usr/lib/*/loomquill-cli; do
  check "$(basename "$f") stripped" grep -q ', stripped' <(file -b "$f")
done
check "changelog names this version" grep -q "^loomquill ($version) " \
  <(zcat "$work/tree/usr/share/doc/loomquill/changelog.gz")
check "copyright names the upstream contact and source" grep -qzE \
  'Upstream-Contact: Loomquill developers <loomquill@users\.noreply\.github\.com>.Source: https://github\.com/loomquill/loomquill.' \
  "$work/tree/usr/share/doc/loomquill/copyright"

# Errors fail; warnings and the rest are shown for whoever reads the log.
lintian --no-tag-display-limit "$deb" >"$work/lintian" 2>&1
sed -n '/^[EWI]: /p' "$work/lintian"
check "lintian reports no error" test -z "$(grep '^E: ' "$work/lintian")"
check "lintian reports no warning" test -z "$(grep '^W: ' "$work/lintian")"
# Pedantic too: only the notes the README's "The package and lintian" explains. The two
# hardening notes come from this test build, which lacks Debian's flags (make package has them).
lintian -I --pedantic --tag-display-limit 0 "$deb" 2>/dev/null | grep -E '^[EWIPX]: ' >"$work/pedantic"
explained='^I: loomquill: (spelling-error-in-binary (assocation association|informations information|mor more|nam name)|hardening-no-(bindnow|fortify-functions)) \[usr/lib/loomquill/loomquill(-cli)?\]$'
check "lintian --pedantic notes only what the README explains: $(grep -vE "$explained" "$work/pedantic" | head -3)" \
  test -z "$(grep -vE "$explained" "$work/pedantic")"
check "the help is in the desktop's help folder" listed '-rw-r--r--' \
  "usr/share/help/C/loomquill/Weftbook.html"

# dpkg installs and removes it in a root of its own; fakeroot lets dpkg run as any user.
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v fakeroot >/dev/null; then
    as_root=(fakeroot)
  else
    echo "SKIPPED: not root and no fakeroot, so dpkg does not install the package"
    root=
  fi
fi
if [ -n "$root" ]; then
  dpkg_here=("${as_root[@]}" dpkg --root="$root" --force-not-root --log="$work/dpkg.log")
  "${dpkg_here[@]}" --force-depends -i "$deb" >"$work/dpkg.out" 2>&1
  check "dpkg installs the package" grep -q '^ii  loomquill' \
    <(dpkg-query --admindir="$root/var/lib/dpkg" -l loomquill)
  check "the installed CLI runs and finds its templates" grep -q ' M3U playlist$' \
    <("$root/usr/bin/loomquill-cli" --list-templates)
  check "the installed CLI tells the package's version" \
    test "$("$root/usr/bin/loomquill-cli" --version | head -1)" = "loomquill-cli (Loomquill) $version"
  "${dpkg_here[@]}" -r loomquill >>"$work/dpkg.out" 2>&1
  check "removal leaves nothing behind" test -z "$(cd "$root" && find . -mindepth 1 \
    ! -path ./var ! -path ./var/lib ! -path './var/lib/dpkg*')"
fi
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
