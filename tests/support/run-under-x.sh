#!/bin/sh
# Runs a test program under a virtual X server with a window manager, so focus and
# activation behave as on a desktop.
exec xvfb-run -a sh -c '
    matchbox-window-manager -use_titlebar no >/dev/null 2>&1 &
    wm=$!
    sleep 0.5
    QT_QPA_PLATFORM=xcb "$@"
    rc=$?
    kill $wm 2>/dev/null
    exit $rc' sh "$@"
