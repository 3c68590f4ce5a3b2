#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program under a virtual X server with a window manager, so focus and
# activation behave as on a desktop. Where those tools are missing the test is skipped
# (exit status 77, which ctest reports as skipped) with a word on what to install.
missing=
for tool in xvfb-run xauth matchbox-window-manager xprop; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
if [ -n "$missing" ]; then
    echo "Skipped: no virtual X server here (missing:$missing)." \
        "Install them with: scripts/install-deps.sh x11"
    exit 77
fi
# The server number is searched upwards from RW830KT_X_SERVER (ctest gives every X test a
# start of its own, so tests running side by side do not race for one number).
# The test starts once the window manager has announced itself on the root window (it
# manages every window from then on), however long a busy machine makes that take.
exec xvfb-run -a -n "${RW830KT_X_SERVER:-99}" sh -c '
    matchbox-window-manager -use_titlebar no >/dev/null 2>&1 &
    wm=$!
    i=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
        i=$((i + 1))
        if [ "$i" -gt 1200 ] || ! kill -0 $wm 2>/dev/null; then
            echo "The window manager did not come up."
            exit 1
        fi
        sleep 0.05
    done
    QT_QPA_PLATFORM=xcb "$@"
    rc=$?
    kill $wm 2>/dev/null
    exit $rc' sh "$@"
