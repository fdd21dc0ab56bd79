#!/usr/bin/python3
"""A drag-and-drop source for GUI tests: drops files on an X window by the XDND protocol.

usage: xdnd_drop.py WINDOW_ID X Y FILE...

Moves the pointer to (X, Y) relative to the window, offers the files as text/uri-list, drops them,
serves the target's request for the data, and waits for the target to say it finished. Exits 0
when the target accepted and finished the drop, 1 (with a reason on stderr) otherwise or after 10 s.
Needs python3-xlib: run it with /usr/bin/python3.
"""
import sys
import time
import urllib.parse

from Xlib import X, Xatom, display, protocol

TIMEOUT_SECONDS = 10.0
XDND_VERSION = 5


def fail(message):
    sys.stderr.write("xdnd_drop: %s\n" % message)
    sys.exit(1)


def uri_list(paths):
    lines = ["file://" + urllib.parse.quote(path) for path in paths]
    return ("\r\n".join(lines) + "\r\n").encode("utf-8")


def find_xdnd_aware(disp, window):
    """The window itself or the first descendant that accepts drops."""
    aware = disp.intern_atom("XdndAware")
    pending = [window]
    while pending:
        w = pending.pop(0)
        if w.get_full_property(aware, X.AnyPropertyType) is not None:
            return w
        pending.extend(w.query_tree().children)
    return None


class DragSource:
    def __init__(self, disp):
        self.disp = disp
        self.atom = {name: disp.intern_atom(name) for name in (
            "XdndEnter", "XdndPosition", "XdndStatus", "XdndDrop", "XdndFinished", "XdndLeave",
            "XdndSelection", "XdndActionCopy", "text/uri-list")}
        root = disp.screen().root
        # Never mapped: it only owns the selection and receives the target's answers.
        self.window = root.create_window(-10, -10, 1, 1, 0, X.CopyFromParent)

    def send(self, target, name, data):
        event = protocol.event.ClientMessage(window=target, client_type=self.atom[name],
                                             data=(32, (data + [0] * 5)[:5]))
        target.send_event(event, event_mask=0)
        self.disp.flush()

    def wait_for(self, handle):
        """Feeds events to handle until it returns True or the time runs out."""
        deadline = time.monotonic() + TIMEOUT_SECONDS
        while time.monotonic() < deadline:
            while self.disp.pending_events():
                if handle(self.disp.next_event()):
                    return True
            time.sleep(0.005)
        return False

    def serve_selection(self, event, payload):
        if event.target != self.atom["text/uri-list"]:
            prop = X.NONE
        else:
            prop = event.property or event.target
            event.requestor.change_property(prop, event.target, 8, payload)
        notify = protocol.event.SelectionNotify(time=event.time, requestor=event.requestor,
                                                selection=event.selection, target=event.target,
                                                property=prop)
        event.requestor.send_event(notify, event_mask=0)
        self.disp.flush()


def main():
    if len(sys.argv) < 5:
        fail("usage: xdnd_drop.py WINDOW_ID X Y FILE...")
    disp = display.Display()
    top = disp.create_resource_object("window", int(sys.argv[1], 0))
    x, y = int(sys.argv[2]), int(sys.argv[3])
    payload = uri_list(sys.argv[4:])

    target = find_xdnd_aware(disp, top)
    if target is None:
        fail("window %s does not accept drops (no XdndAware)" % sys.argv[1])
    source = DragSource(disp)
    origin = top.translate_coords(disp.screen().root, 0, 0)
    root_x, root_y = x - origin.x, y - origin.y
    disp.screen().root.warp_pointer(root_x, root_y)
    source.window.set_selection_owner(source.atom["XdndSelection"], X.CurrentTime)
    disp.sync()

    source.send(target, "XdndEnter",
                [source.window.id, XDND_VERSION << 24, source.atom["text/uri-list"]])
    source.send(target, "XdndPosition", [source.window.id, 0, (root_x << 16) | root_y,
                                         X.CurrentTime, source.atom["XdndActionCopy"]])
    status = {}

    def on_status(event):
        if event.type == X.ClientMessage and event.client_type == source.atom["XdndStatus"]:
            status["accepted"] = bool(event.data[1][1] & 1)
            return True
        return False

    if not source.wait_for(on_status):
        fail("no XdndStatus from the target")
    if not status["accepted"]:
        source.send(target, "XdndLeave", [source.window.id])
        fail("the target refused the drop")

    source.send(target, "XdndDrop", [source.window.id, 0, X.CurrentTime])

    def on_request_or_finish(event):
        if event.type == X.SelectionRequest:
            source.serve_selection(event, payload)
            return False
        return event.type == X.ClientMessage and event.client_type == source.atom["XdndFinished"]

    if not source.wait_for(on_request_or_finish):
        fail("no XdndFinished from the target")
    return 0


if __name__ == "__main__":
    sys.exit(main())
