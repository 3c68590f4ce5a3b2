#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program under a virtual X server with a window manager, so focus and
# activation behave as on a desktop. Where those tools are missing the test is skipped
# (exit status 77, which ctest reports as skipped) with a word on what to install.
missing=
for tool in xvfb-run xauth matchbox-window-manager; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
if [ -n "$missing" ]; then
    echo "Skipped: no virtual X server here (missing:$missing)." \
        "Install them with: scripts/install-deps.sh x11"
    exit 77
fi
# The server number is searched upwards from RW830KT_X_SERVER (ctest gives every X test a
# start of its own, so tests running side by side do not race for one number).
exec xvfb-run -a -n "${RW830KT_X_SERVER:-99}" sh -c '
    matchbox-window-manager -use_titlebar no >/dev/null 2>&1 &
    wm=$!
    sleep 0.5
    QT_QPA_PLATFORM=xcb "$@"
    rc=$?
    kill $wm 2>/dev/null
    exit $rc' sh "$@"
