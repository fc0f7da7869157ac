#!/bin/bash
# The GTK door check: the source tree passes, and each way of reaching GTK from outside the
# door, planted in a tree of its own, is caught, while the door's own files and the test
# spy's wrapper pass.
# gtk_door_check_test.sh CHECK SOURCE_ROOT
set -u
check=${1:?usage: gtk_door_check_test.sh CHECK SOURCE_ROOT}
source_root=${2:?usage: gtk_door_check_test.sh CHECK SOURCE_ROOT}
work=$(mktemp -d "${TMPDIR:-/tmp}/gtk_door.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

if ! "$check" "$source_root"; then
  echo "FAILED: the source tree keeps GTK behind its door" >&2
  failures=$((failures + 1))
fi

# expected  path  content
cases=(
  'fail|uikit/grafext/sheet.cpp|#include <gtk/gtk.h>'
  'fail|shell/x11.h|#  include <gdk/gdkx.h>'
  'fail|shell/menu.cpp|#include "gtk/gtkmenu.h"'
  'fail|shell/width.cpp|auto f = dlsym(RTLD_DEFAULT, "gtk_widget_show");'
  'fail|uikit/watch.cpp|F Symbol(const char* n) { return F(dlsym(RTLD_DEFAULT, n)); }'
  'fail|uikit/other.cpp|void* f = dlsym(handle, "inflate");'
  'fail|platform/toolkit_sizes.cpp|#include <gtk/gtk.h>'
  'fail|platform/wx_font.cpp|Unref u = (Unref)dlsym(RTLD_DEFAULT, "g_object_unref");'
  'fail|tests/gui/real/probe.cpp|auto f = dlvsym(RTLD_NEXT, "gdk_display_sync", "v");'
  'fail|tests/gui/real/probe.cpp|#include <gdk/gdk.h>'
  'pass|platform/gtk_motion.cpp|#include <gtk/gtk.h>'
  'pass|platform/compositor.cpp|#include <gdk/gdkwayland.h>'
  'pass|platform/wx_clipboard.cpp|#include <gtk/gtk.h>'
  'pass|tests/e2e/window_spy.cpp|auto real = dlsym(RTLD_NEXT, "gtk_message_dialog_new");'
  'pass|tests/e2e/write_spy.cpp|auto real = dlsym(RTLD_NEXT, "write");'
  'pass|uikit/grafext/face.h|// The theme (see <gtk/gtkcssprovider.h>) draws the face.'
  'pass|shell/theme.cpp|setenv("GTK_THEME", "gtk_dark", 1);'
  'pass|build/gtk_probe.cpp|#include <gtk/gtk.h>'
  'pass|build-deb/x.cpp|auto f = dlsym(RTLD_DEFAULT, "gtk_widget_show");'
  'pass|uikit/readme.txt|#include <gtk/gtk.h>'
)
n=0
for row in "${cases[@]}"; do
  IFS='|' read -r expected path content <<<"$row"
  n=$((n + 1))
  tree=$work/$n
  mkdir -p "$(dirname "$tree/$path")"
  printf '%s\n' "// A file of the tree." "$content" >"$tree/$path"
  if "$check" "$tree" >"$work/out" 2>&1; then got=pass; else got=fail; fi
  if [ "$got" != "$expected" ]; then
    echo "FAILED: $path with '$content': expected $expected, got $got" >&2
    cat "$work/out" >&2
    failures=$((failures + 1))
  elif [ "$got" = fail ] && ! grep -q "^$path:2: " "$work/out"; then
    echo "FAILED: $path: the report does not name the file and line:" >&2
    cat "$work/out" >&2
    failures=$((failures + 1))
  fi
done

echo "$((n + 1 - failures)) of $((n + 1)) held"
[ "$failures" -eq 0 ]
