# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the real window over AT-SPI, as a screen reader does, and fails on what would
leave a listener lost: a control that can be reached without a name, a drop-down list
named by its current item, two controls of one name, a page whose tab is hidden, or a
field whose name or description is not the one its label gives.

Then it listens to the events a screen reader receives while it types at the window
against the transmitter simulator: a value entered and Enter, a Write told from its start
to its end, a check box of Write to Several toggled; and it stops the window with SIGTERM
while a box is open, as the system does at shutdown.

Run inside a session bus of its own (dbus-run-session) under an X server; starts the
programs given as its arguments and ends them again.
Usage: atspi_window.py PROGRAM SIMULATOR
"""
import os
import signal
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

START_SECONDS = 40  # for the window to appear over AT-SPI on a loaded machine
EVENT_SECONDS = 30  # for an awaited event, on a loaded machine
STOP_SECONDS = 1  # a signal ends the window within this, whatever box is open
SIGTERM_STATUS = 128 + signal.SIGTERM

# Containers and decoration: a screen reader passes over them.
CONTAINERS = {
    pyatspi.ROLE_APPLICATION, pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG, pyatspi.ROLE_WINDOW,
    pyatspi.ROLE_FILLER, pyatspi.ROLE_PANEL, pyatspi.ROLE_LAYERED_PANE,
    pyatspi.ROLE_SCROLL_PANE, pyatspi.ROLE_VIEWPORT, pyatspi.ROLE_STATUS_BAR,
    pyatspi.ROLE_MENU_BAR, pyatspi.ROLE_TOOL_BAR, pyatspi.ROLE_SEPARATOR, pyatspi.ROLE_LABEL,
    pyatspi.ROLE_SCROLL_BAR, pyatspi.ROLE_SPLIT_PANE,
}
# Controls a listener meets even where they take no focus.
CONTROLS = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT,
    pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_SLIDER, pyatspi.ROLE_PROGRESS_BAR,
    pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE,
    pyatspi.ROLE_PAGE_TAB_LIST,
}
# Items of a list, a menu or a tab strip: named, but they may repeat another's name.
ITEMS = {
    pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_CHECK_MENU_ITEM,
    pyatspi.ROLE_RADIO_MENU_ITEM, pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_TABLE_CELL,
    pyatspi.ROLE_TREE_ITEM, pyatspi.ROLE_COLUMN_HEADER, pyatspi.ROLE_TABLE_COLUMN_HEADER,
}

# The one page the window offers, and texts that only its hidden pages hold.
OFFERED_TABS = ["TX & Canned Message"]
HIDDEN_PAGE_TEXTS = {"Fun. Bit Alert", "Pager", "Pager parameter", "Fun. Bit A", "Heart beat",
                     "Flash Length", "Out Of Range", "Low Battery Reminider Time"}
# What a person reads beside each control, and what its numeric field accepts.
EXPECTED = {
    (pyatspi.ROLE_TEXT, "Frequency"): None,
    (pyatspi.ROLE_TEXT, "System Code"): "stored: 0001; accepts 0 to 2000",
    (pyatspi.ROLE_COMBO_BOX, "COM Port"): None,
    (pyatspi.ROLE_TEXT, "Range test duration"):
        "stored: 30 seconds; accepts 0, or 10 to 240 seconds",
    (pyatspi.ROLE_COMBO_BOX, "POCSAG baud"): None,
    (pyatspi.ROLE_TEXT, "Power Up Logo"): None,
    (pyatspi.ROLE_CHECK_BOX, "Send Twice Enable"): None,
    (pyatspi.ROLE_COMBO_BOX, "Canned message page"): None,
    (pyatspi.ROLE_PUSH_BUTTON, "Export Canned Message"): None,
    (pyatspi.ROLE_PROGRESS_BAR, "Transfer progress"): None,
}
EXPECTED.update({(pyatspi.ROLE_TEXT, "Message %d" % n): None for n in range(1, 11)})


class Node:
    def __init__(self, acc, path, showing):
        self.acc = acc
        self.path = path
        self.showing = showing
        self.role = acc.getRole()
        self.name = acc.name or ""
        self.description = acc.description or ""
        states = acc.getState()
        self.focusable = states.contains(pyatspi.STATE_FOCUSABLE)
        self.children = []


def read_tree(acc, path="", showing=True):
    node = Node(acc, path, showing)
    node.showing = showing and acc.getState().contains(pyatspi.STATE_SHOWING)
    here = "%s/%s '%s'" % (path, acc.getRoleName(), node.name)
    node.path = here
    for child in acc:
        if child is not None:
            node.children.append(read_tree(child, here, node.showing))
    return node


def walk(node):
    yield node
    for c in node.children:
        yield from walk(c)


def find_window(desktop, pid):
    for app in desktop:
        if app is None:
            continue
        try:
            if app.get_process_id() == pid and app.childCount > 0:
                return app
        except Exception:
            continue
    return None


def problems_of(root):
    problems = []
    names = {}
    found = {}
    for n in walk(root):
        if n.name in HIDDEN_PAGE_TEXTS:
            problems.append("a hidden page is announced: %s" % n.path)
        if n.role == pyatspi.ROLE_PAGE_TAB_LIST:
            tabs = [c.name for c in n.children if c.role == pyatspi.ROLE_PAGE_TAB]
            if tabs != OFFERED_TABS:
                problems.append("the tab strip offers %s, not %s" % (tabs, OFFERED_TABS))
        if n.role == pyatspi.ROLE_LAYERED_PANE and len(n.children) != len(OFFERED_TABS):
            problems.append("the page stack holds %d pages: %s" % (len(n.children), n.path))
        if not n.showing or n.role in CONTAINERS:
            continue
        if not (n.focusable or n.role in CONTROLS or n.role in ITEMS):
            continue
        if not n.name.strip():
            problems.append("a control without a name: %s" % n.path)
            continue
        if n.role == pyatspi.ROLE_COMBO_BOX:
            items = {i.name for lst in n.children for i in lst.children}
            if n.name in items:
                problems.append("a drop-down list named by its item: %s" % n.path)
        if n.role not in ITEMS:
            names.setdefault(n.name, []).append(n.path)
        found[(n.role, n.name)] = n.description
    for name, paths in names.items():
        if len(paths) > 1:
            problems.append("%d controls are called '%s': %s" % (len(paths), name, paths))
    for (role, name), description in EXPECTED.items():
        if (role, name) not in found:
            problems.append("no %s called '%s'" % (pyatspi.Role(role), name))
        elif description is not None and found[(role, name)] != description:
            problems.append("'%s' is described as '%s', not '%s'"
                            % (name, found[(role, name)], description))
    return problems


def wait_for_tree(window):
    """The window's tree once it is built (the tab strip is there and two reads agree)."""
    desktop = pyatspi.Registry.getDesktop(0)
    deadline = time.monotonic() + START_SECONDS
    last_count = -1
    while time.monotonic() < deadline and window.poll() is None:
        app = find_window(desktop, window.pid)
        if app is not None:
            try:
                tree = read_tree(app)
                # Built once the tab strip is there and two reads agree.
                nodes = list(walk(tree))
                if (any(n.role == pyatspi.ROLE_PAGE_TAB_LIST for n in nodes)
                        and len(nodes) == last_count):
                    break
                last_count = len(nodes)
            except Exception:
                last_count = -1  # read while the window was still being built
        time.sleep(0.3)
    else:
        return None
    return tree


def read_window(window):
    """Waits until the window is built, reads it and tells what is wrong; 0 when nothing."""
    tree = wait_for_tree(window)
    if tree is None:
        print("FAIL: the window did not show itself over AT-SPI within %d s" % START_SECONDS)
        return 1
    nodes = list(walk(tree))
    problems = problems_of(tree)
    for p in problems:
        print("FAIL: " + p)
    if problems:
        return 1
    print("PASS: %d accessible objects read; every control named once, no hidden page"
          % len(nodes))
    return 0


class Listener:
    """The events a screen reader receives, kept with what their object said then."""

    NAMES = ("object:state-changed:showing", "object:state-changed:checked",
             "object:state-changed:focused")

    def __init__(self):
        self.events = []
        pyatspi.Registry.registerEventListener(self.keep, *self.NAMES)

    def close(self):
        pyatspi.Registry.deregisterEventListener(self.keep, *self.NAMES)

    def keep(self, event):
        try:
            source = event.source
            self.events.append((event.type, event.detail1, source.getRole(), source.name or ""))
        except Exception:
            pass  # an object gone before it could be read

    def announcements(self):
        return [name for kind, on, role, name in self.events
                if kind == "object:state-changed:showing" and on == 1
                and role == pyatspi.ROLE_NOTIFICATION]

    def wait_for(self, what, test):
        """Runs the event loop until test() holds; False after EVENT_SECONDS."""
        context = GLib.MainContext.default()
        deadline = time.monotonic() + EVENT_SECONDS
        woken = GLib.timeout_add(200, lambda: True)  # the loop looks at the clock
        try:
            while not test():
                if time.monotonic() > deadline:
                    print("FAIL: no %s within %d s; heard %s" % (what, EVENT_SECONDS, self.events))
                    return False
                context.iteration(True)
        finally:
            GLib.source_remove(woken)
        return True


KEYSYMS = {"Return": 0xFF0D, "F4": 0xFFC1, "space": 0x20}
SHIFT_MASK = 1


def press(key, shift=False):
    if shift:
        pyatspi.Registry.generateKeyboardEvent(SHIFT_MASK, None, pyatspi.KEY_LOCKMODIFIERS)
    pyatspi.Registry.generateKeyboardEvent(KEYSYMS[key], None, pyatspi.KEY_SYM)
    if shift:
        pyatspi.Registry.generateKeyboardEvent(SHIFT_MASK, None, pyatspi.KEY_UNLOCKMODIFIERS)


def type_text(text):
    for c in text:
        pyatspi.Registry.generateKeyboardEvent(ord(c), None, pyatspi.KEY_SYM)


def find(root, role, name):
    for n in walk(read_tree(root)):
        if n.role == role and n.name == name:
            return n.acc
    return None


def start_window(program, work):
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", HOME=work)
    log = open(os.path.join(work, "window.log"), "a+")
    return subprocess.Popen([program], cwd=work, env=env, stdout=log, stderr=log), log


def stop_window(window, what):
    """SIGTERM, as the system stops it: the window ends within a second with 143."""
    sent = time.monotonic()
    window.send_signal(signal.SIGTERM)
    try:
        ended = window.wait(timeout=20)
    except subprocess.TimeoutExpired:
        window.kill()
        print("FAIL: SIGTERM with %s did not end the window" % what)
        return 1
    took = time.monotonic() - sent
    if ended != SIGTERM_STATUS:
        print("FAIL: SIGTERM with %s ended the window with status %d" % (what, ended))
        return 1
    if took > STOP_SECONDS:
        print("FAIL: SIGTERM with %s took %.2f s to end the window" % (what, took))
        return 1
    return 0


def hear_a_write(window, work):
    """Enter in a field, then a Write that fails at block 5 and the signal over its box."""
    listener = Listener()
    try:
        app = find_window(pyatspi.Registry.getDesktop(0), window.pid)
        field = find(app, pyatspi.ROLE_TEXT, "System Code")
        field.queryComponent().grabFocus()
        type_text("7")
        press("Return")
        parked = "System Code, stored: 0007. Tab goes to COM Port"
        if not listener.wait_for("focus on a named line after Enter", lambda: any(
                kind == "object:state-changed:focused" and on == 1 and name == parked
                for kind, on, role, name in listener.events)):
            return 1
        field.queryComponent().grabFocus()
        if not listener.wait_for("the field emptied", lambda: field.queryText().characterCount == 0):
            return 1
        if field.description != "stored: 0007; accepts 0 to 2000":
            print("FAIL: the emptied field is described as '%s'" % field.description)
            return 1

        press("F4")
        told = ["Write started on ", "Write: 4 of 16 blocks done.",
                "Write ended: write failed at block 5."]
        if not listener.wait_for("the Write's announcements and its box", lambda: (
                len(listener.announcements()) >= 3 and any(
                    kind == "object:state-changed:showing" and on == 1
                    and role == pyatspi.ROLE_ALERT for kind, on, role, name in listener.events))):
            return 1
        heard = listener.announcements()[:3]
        if not (heard[0].startswith(told[0]) and heard[1:] == told[1:]):
            print("FAIL: a Write was announced as %s" % heard)
            return 1
    finally:
        listener.close()
    if stop_window(window, "the Write's box open"):
        return 1
    traces = sorted(os.listdir(os.path.join(work, "traces")))
    with open(os.path.join(work, "traces", traces[-1]), encoding="latin-1") as trace:
        last = trace.read().splitlines()[-1]
    if not last.endswith(" -- run stopped by SIGTERM"):
        print("FAIL: the trace ends with '%s'" % last)
        return 1
    print("PASS: heard '%s' after Enter, then %s; SIGTERM over the box ended the window with %d"
          % (parked, heard, SIGTERM_STATUS))
    return 0


def hear_a_bench_check(window):
    """Write to Several: Space on the first port is heard as its check box changing."""
    listener = Listener()
    try:
        if wait_for_tree(window) is None:
            print("FAIL: the window did not come back over AT-SPI")
            return 1
        press("F4", shift=True)
        if not listener.wait_for("the Write to Several dialog", lambda: any(
                kind == "object:state-changed:focused" and on == 1
                and role == pyatspi.ROLE_TABLE_CELL for kind, on, role, name in listener.events)
                or any(name == "Transmitters" for kind, on, role, name in listener.events)):
            return 1
        press("space")
        checked = lambda: [name for kind, on, role, name in listener.events
                           if kind == "object:state-changed:checked" and on == 1]
        if not listener.wait_for("check box change", lambda: checked()):
            return 1
    finally:
        listener.close()
    if stop_window(window, "the Write to Several dialog open"):
        return 1
    print("PASS: Space in Write to Several checked %s, heard as a state change" % checked())
    return 0


def main():
    program, simulator = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp()
    settings = os.path.join(work, "RW830KT2485E.ini")
    with open(settings, "w", newline="") as f:
        f.write("[Transmitter]\r\nLineTrace=1\r\n")
    # Blocks 1 to 4 are written and verified; block 5 gets no answer.
    sim = subprocess.Popen([simulator, "--silent-after", "8", "--settings-file", settings],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    sim.stdout.readline()  # its port, once it is named in the settings file
    window, log = start_window(program, work)
    status = 1
    try:
        status = read_window(window)
        if status == 0:
            status = hear_a_write(window, work)
        if status == 0:
            window, log = start_window(program, work)
            status = hear_a_bench_check(window)
    finally:
        if window.poll() is None:
            window.kill()
            window.wait()
        sim.terminate()
        sim.wait()
    if status != 0:
        log.seek(0)
        sys.stdout.write(log.read())
    log.close()
    subprocess.run(["rm", "-rf", work], check=False)
    return status


if __name__ == "__main__":
    signal.alarm(240)  # a hung bus never holds the run up for long
    sys.exit(main())
