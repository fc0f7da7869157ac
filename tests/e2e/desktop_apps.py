#!/usr/bin/python3
"""What the desktop's own libraries make of the applications installed in the XDG folders of
this process's environment, as JSON on standard output:

    desktop_apps.py TYPE...

"default": GIO's default application of each type (what file managers open on a double
click, and xdg-open under GNOME); "all": every application GIO would list in a menu;
"files": those of them that open files; "chooser": for each type, the applications of GTK's
"Open With" dialog once "View All Applications" is pressed (needs a display, else absent).
GIO reads the folders once a process, so each environment asks a process of its own.
"""
import json
import os
import sys

import gi

gi.require_version('Gio', '2.0')
from gi.repository import Gio  # noqa: E402


def chooser_apps(kind, Gtk):
    widget = Gtk.AppChooserWidget.new(kind)
    # What the dialog's "View All Applications" button does.
    widget.set_show_all(True)
    found = []

    def visit(model, _path, row):
        for column in range(model.get_n_columns()):
            value = model.get_value(row, column)
            if isinstance(value, Gio.AppInfo):
                found.append(value.get_id())
                return

    def walk(child):
        if isinstance(child, Gtk.TreeView):
            child.get_model().foreach(visit)
        if isinstance(child, Gtk.Container):
            child.forall(walk)

    walk(widget)
    return found


def main():
    kinds = sys.argv[1:]
    result = {'default': {}, 'all': [], 'files': []}
    for kind in kinds:
        app = Gio.AppInfo.get_default_for_type(kind, False)
        result['default'][kind] = app.get_id() if app else None
    for app in Gio.AppInfo.get_all():
        if app.should_show():
            result['all'].append(app.get_id())
            if app.supports_files():
                result['files'].append(app.get_id())
    if os.environ.get('DISPLAY') or os.environ.get('WAYLAND_DISPLAY'):
        gi.require_version('Gtk', '3.0')
        from gi.repository import Gtk
        if Gtk.init_check(sys.argv)[0]:
            result['chooser'] = {kind: chooser_apps(kind, Gtk) for kind in kinds}
    json.dump(result, sys.stdout)
    return 0


if __name__ == '__main__':
    sys.exit(main())
