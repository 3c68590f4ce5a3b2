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
# The window manager starts once the server takes connections (xvfb-run's own wait for it
# does not always hold on a busy machine), and again should it end before it is up (on a
# busy machine it now and then finds no display at its first try); the test starts once
# the window manager has announced itself on the root window: it manages every window from
# then on.
exec xvfb-run -a -n "${RW830KT_X_SERVER:-99}" sh -c '
    # Waits up to a minute for the condition given, in steps of 50 ms.
    wait_until() {
        i=0
        until "$@"; do
            i=$((i + 1))
            [ "$i" -le 1200 ] || return 1
            sleep 0.05
        done
    }
    announced() {
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"
    }
    up_or_ended() {
        announced || ! kill -0 $wm 2>/dev/null
    }
    wait_until xprop -root >/dev/null 2>&1 || {
        echo "The X server on $DISPLAY takes no connections."
        exit 1
    }
    said=$(mktemp)
    tries=0
    while :; do
        matchbox-window-manager -use_titlebar no >/dev/null 2>"$said" &
        wm=$!
        wait_until up_or_ended && kill -0 $wm 2>/dev/null && break
        tries=$((tries + 1))
        if [ "$tries" -ge 5 ]; then
            echo "The window manager did not come up on $DISPLAY:"
            cat "$said"
            rm -f "$said"
            exit 1
        fi
    done
    rm -f "$said"
    QT_QPA_PLATFORM=xcb "$@"
    rc=$?
    kill $wm 2>/dev/null
    exit $rc' sh "$@"
