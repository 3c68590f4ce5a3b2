#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Drives the window of a Windows build under Wine from the keyboard, as a technician does,
# on the X display in DISPLAY (Wine draws its windows there):
#   window-keys.sh wait TITLE         waits for a window whose title starts with TITLE
#   window-keys.sh keys TITLE KEY...  sends the keys to that window
#   window-keys.sh gone TITLE         waits until no window's title starts with TITLE
# Each wait ends with the event itself, or fails after a minute.
set -e
what=$1
title=$2
shift 2
find_window() { xdotool search --name "^$title" 2>/dev/null | head -n 1; }
tries=0
case "$what" in
wait)
    until [ -n "$(find_window)" ]; do
        tries=$((tries + 1))
        [ "$tries" -le 600 ] || { echo "window-keys.sh: no window \"$title\"" >&2; exit 1; }
        sleep 0.1
    done
    ;;
keys)
    window=$(find_window)
    [ -n "$window" ] || { echo "window-keys.sh: no window \"$title\"" >&2; exit 1; }
    xdotool key --window "$window" "$@" 2>/dev/null
    ;;
gone)
    while [ -n "$(find_window)" ]; do
        tries=$((tries + 1))
        [ "$tries" -le 600 ] || { echo "window-keys.sh: \"$title\" stays" >&2; exit 1; }
        sleep 0.1
    done
    ;;
esac
