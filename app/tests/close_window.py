#!/usr/bin/python3
# Asks an X window to close the way a window manager does when its close box
# is clicked: a WM_DELETE_WINDOW client message. Wine turns it into the
# window's own close command (WM_SYSCOMMAND with SC_CLOSE).
#   close_window.py <window id>
import sys

from Xlib import X, display, protocol

d = display.Display()
window = d.create_resource_object("window", int(sys.argv[1]))
message = protocol.event.ClientMessage(
    window=window,
    client_type=d.intern_atom("WM_PROTOCOLS"),
    data=(32, [d.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]),
)
window.send_event(message, event_mask=X.NoEventMask)
d.flush()
