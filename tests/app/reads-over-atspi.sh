#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The window as a screen reader reads it (run by run-under-x.sh): a session bus of the
# test's own, on which the accessibility bus starts when asked for, and the walk over it
# in atspi_window.py, which also types at the window against the transmitter simulator.
# Skipped (77) where the tools are missing.
# Usage: reads-over-atspi.sh PROGRAM SIMULATOR
PROGRAM=$1
SIMULATOR=$2
HERE=$(dirname "$0")
PYTHON=/usr/bin/python3
missing=
command -v dbus-run-session >/dev/null 2>&1 || missing="$missing dbus-run-session"
[ -x /usr/libexec/at-spi-bus-launcher ] || missing="$missing at-spi-bus-launcher"
"$PYTHON" -c 'import pyatspi' >/dev/null 2>&1 || missing="$missing python3-pyatspi"
if [ -n "$missing" ]; then
    echo "Skipped: no accessibility bus here (missing:$missing)." \
        "Install them with: scripts/install-deps.sh x11"
    exit 77
fi

exec dbus-run-session -- "$PYTHON" "$HERE/atspi_window.py" "$PROGRAM" "$SIMULATOR"
