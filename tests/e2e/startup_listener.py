#!/usr/bin/python3
"""Prints each X11 startup-notification message sent on the display's root window, one a line,
as launchers and programs send them (_NET_STARTUP_INFO_BEGIN, then _NET_STARTUP_INFO pieces of
20 bytes until a NUL). Runs until killed; prints "listening" once it listens."""
import sys

from Xlib import X, display

d = display.Display()
root = d.screen().root
root.change_attributes(event_mask=X.PropertyChangeMask)
begin = d.intern_atom('_NET_STARTUP_INFO_BEGIN')
more = d.intern_atom('_NET_STARTUP_INFO')
d.sync()
print('listening', flush=True)
# Pieces of messages still open, by the window that sends them.
pieces = {}
while True:
    event = d.next_event()
    if event.type != X.ClientMessage or event.client_type not in (begin, more):
        continue
    fmt, data = event.data
    raw = bytes(data) if fmt == 8 else b''
    if event.client_type == begin:
        pieces[event.window.id] = b''
    elif event.window.id not in pieces:
        continue
    pieces[event.window.id] += raw
    whole = pieces[event.window.id]
    if b'\0' in whole:
        del pieces[event.window.id]
        print(whole.split(b'\0', 1)[0].decode('utf-8', 'replace'), flush=True)
