# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the real window over AT-SPI, as a screen reader does, and fails on what would
leave a listener lost: a control that can be reached without a name, a drop-down list
named by its current item, two controls of one name, a page whose tab is hidden, or a
field whose name or description is not the one its label gives.

Run inside a session bus of its own (dbus-run-session) under an X server; starts the
program given as its argument and ends it again. Usage: atspi_window.py PROGRAM
"""
import os
import signal
import subprocess
import sys
import tempfile
import time

import pyatspi

START_SECONDS = 40  # for the window to appear over AT-SPI on a loaded machine

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
    (pyatspi.ROLE_TEXT, "System Code"): "0 to 2000",
    (pyatspi.ROLE_COMBO_BOX, "COM Port"): None,
    (pyatspi.ROLE_TEXT, "Range test duration"): "0, or 10 to 240 seconds",
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


def read_window(window):
    """Waits until the window is built, reads it and tells what is wrong; 0 when nothing."""
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
        print("FAIL: the window did not show itself over AT-SPI within %d s" % START_SECONDS)
        return 1
    problems = problems_of(tree)
    for p in problems:
        print("FAIL: " + p)
    if problems:
        return 1
    print("PASS: %d accessible objects read; every control named once, no hidden page"
          % len(nodes))
    return 0


def main():
    program = sys.argv[1]
    work = tempfile.mkdtemp()
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", HOME=work)
    log = open(os.path.join(work, "window.log"), "w+")
    window = subprocess.Popen([program], cwd=work, env=env, stdout=log, stderr=log)
    status = 1
    try:
        status = read_window(window)
    finally:
        # Read over the bus or not, the window stops as the system stops it: cleanly.
        window.send_signal(signal.SIGTERM)
        try:
            ended = window.wait(timeout=20)
        except subprocess.TimeoutExpired:
            window.kill()
            ended = window.wait()
    if ended != 0:
        print("FAIL: the window ended with status %d" % ended)
        status = 1
    if status != 0:
        log.seek(0)
        sys.stdout.write(log.read())
    log.close()
    subprocess.run(["rm", "-rf", work], check=False)
    return status


if __name__ == "__main__":
    signal.alarm(240)  # a hung bus never holds the run up for long
    sys.exit(main())
