#!/usr/bin/python3
"""Asks an X window to close, as a window manager's close button does (WM_DELETE_WINDOW).

usage: close_window.py WINDOW_ID
Needs python3-xlib: run it with /usr/bin/python3.
"""
import sys

from Xlib import X, display, protocol


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: close_window.py WINDOW_ID\n")
        return 1
    disp = display.Display()
    window = disp.create_resource_object("window", int(sys.argv[1], 0))
    delete = disp.intern_atom("WM_DELETE_WINDOW")
    event = protocol.event.ClientMessage(window=window, client_type=disp.intern_atom("WM_PROTOCOLS"),
                                         data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(event, event_mask=0)
    disp.sync()
    return 0


if __name__ == "__main__":
    sys.exit(main())
