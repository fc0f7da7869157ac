#!/usr/bin/env python3
"""A file manager's side of a drag: a small GTK window that offers files as text/uri-list.

    drag_source.py X Y LIST_FILE

Shows a 60 x 40 window named lq-drag-source at X, Y; a drag started on it carries the names
in LIST_FILE (one a line). It ends when the drag ends, or after 30 seconds.
"""
import sys
from pathlib import Path

import gi

gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402

x, y, list_file = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
uris = [Path(n).as_uri() for n in Path(list_file).read_text().splitlines() if n]

window = Gtk.Window(title="lq-drag-source")
window.set_default_size(60, 40)
window.set_decorated(False)
window.move(x, y)
box = Gtk.EventBox()
box.add(Gtk.Label(label="drag"))
window.add(box)
box.drag_source_set(
    Gdk.ModifierType.BUTTON1_MASK, [Gtk.TargetEntry.new("text/uri-list", 0, 0)], Gdk.DragAction.COPY
)
box.connect("drag-data-get", lambda _w, _c, data, _i, _t: data.set_uris(uris))
box.connect("drag-end", lambda *_: GLib.timeout_add(200, Gtk.main_quit))
window.connect("destroy", Gtk.main_quit)
GLib.timeout_add_seconds(30, Gtk.main_quit)
window.show_all()
Gtk.main()
