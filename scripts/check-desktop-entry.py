#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Loads the window's installed desktop entry as GLib/GIO does (GNOME and every desktop
built on GLib read their menus and "Open With" lists this way) and checks that it is
offered for table files. An entry that GIO rejects (a TryExec that names no program, for
instance) is missing from those menus although desktop-file-validate passes.

Usage: check-desktop-entry.py DATA_DIR
DATA_DIR holds applications/io.github.rw830kt.rw830kt.desktop and the applications' MIME
cache that update-desktop-database makes beside it (/usr/share once installed).
"""
import os
import sys
import tempfile

APP = "io.github.rw830kt.rw830kt.desktop"
TABLE_TYPE = "application/x-rw830kt-table"


def made(constructor, argument):
    """What a GIO constructor gives; None where it returns nothing (the Python bindings
    raise TypeError for that)."""
    try:
        return constructor(argument)
    except TypeError:
        return None


def main():
    if len(sys.argv) != 2:
        print("Usage: check-desktop-entry.py DATA_DIR", file=sys.stderr)
        return 2
    data_dir = os.path.abspath(sys.argv[1])
    # GIO reads these when it first looks for applications: only DATA_DIR, and a home
    # of nobody's that holds no entries or choices of a user.
    home = tempfile.mkdtemp()
    os.environ["XDG_DATA_DIRS"] = data_dir
    os.environ["XDG_DATA_HOME"] = os.path.join(home, "data")
    os.environ["XDG_CONFIG_HOME"] = os.path.join(home, "config")
    os.environ["XDG_CONFIG_DIRS"] = os.path.join(home, "config-dirs")
    from gi.repository import Gio

    entry = os.path.join(data_dir, "applications", APP)
    failures = []
    info = made(Gio.DesktopAppInfo.new_from_filename, entry)
    if info is None:
        failures.append("GIO rejects %s (its TryExec or Exec names no program to run)" % entry)
    elif not info.should_show():
        failures.append("GIO would hide %s from the menu" % entry)
    if made(Gio.DesktopAppInfo.new, APP) is None:
        failures.append("GIO finds no application %s under %s" % (APP, data_dir))
    offered = [a.get_id() for a in Gio.AppInfo.get_all_for_type(TABLE_TYPE)]
    if APP not in offered:
        failures.append("GIO offers %s for %s, not %s" % (offered, TABLE_TYPE, APP))
    for f in failures:
        print("check-desktop-entry.py: " + f, file=sys.stderr)
    if failures:
        return 1
    print("GIO loads %s and offers it for %s: %s" % (APP, TABLE_TYPE, info.get_commandline()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
