#!/usr/bin/env bash
# Installs the Debian packages Loomquill builds and tests with, when any is missing.
set -euo pipefail

packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev libwxgtk3.2-dev xvfb xauth xclip xdotool
  python3 dash cmark)
# The drag source of the drop tests, xwininfo to see where a menu opened, and import to
# take the screenshots that colours and contrast are checked on.
packages+=(python3-gi gir1.2-gtk-3.0 x11-utils imagemagick)
# The X11 startup-notification messages a launcher and the window exchange, read from the root.
packages+=(python3-xlib)
# The accessibility bus and its Python reader, for the test that reads the window as a
# screen reader does.
packages+=(dbus at-spi2-core python3-pyatspi)
# A second language, so the test that GTK's own dialogs follow the locale has one to use.
packages+=(locales)
# msgfmt and xgettext for Loomquill's catalogs, and wxWidgets' own (OK, Cancel) in German.
packages+=(gettext wx3.2-i18n)
# GTK's and Wayland's headers for the calls to a compositor, and weston and sway with a
# clipboard reader for the tests that run Loomquill under Wayland.
packages+=(libgtk-3-dev libwayland-dev weston sway wl-clipboard)
# sway's screenshot tool, for the test of the tool bar art at scale 2.
packages+=(grim)
# The checks of the installed tree and of the Debian package, and the shells whose
# completions are tested.
packages+=(desktop-file-utils appstream man-db libglib2.0-bin shared-mime-info zsh bash
  dpkg-dev file fakeroot lintian xdg-utils)
# The readers that escaped output is read back with: more shells and a shell linter, a JSON
# reader and an HTML5 parser that follows links as a browser does.
packages+=(busybox shellcheck jq python3-html5lib)
# gtk-launch, which starts the desktop entry on many files as a file manager does.
packages+=(libgtk-3-bin)
# A window manager on the test display, for the tests of where dialogs open.
packages+=(openbox)
# The format and tidy checks that make test runs over the tree.
packages+=(clang-format clang-tidy)
case "${1:-}" in
  --with-fuzz) packages+=(clang libclang-rt-dev) ;;
  --with-windows) packages+=(g++-mingw-w64-x86-64-posix wine wine64 googletest) ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
  "${sudo[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "no de_DE.UTF-8 locale: its test will skip"
fi
