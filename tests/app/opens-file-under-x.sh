#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# What a double-click on a table file does, under a real X server (run by
# run-under-x.sh): the window started with a file opens it, and its caption names the
# file; a file that cannot be read brings up the "File Error" box instead. SIGTERM ends
# the window either way, the box open or not, with the status a shell gives a stopped
# program (128 + 15).
# Usage: opens-file-under-x.sh PROGRAM
PROGRAM=$1
command -v xwininfo >/dev/null 2>&1 || {
    echo "Skipped: no xwininfo here. Install it with: scripts/install-deps.sh x11"
    exit 77
}
WORK=$(mktemp -d)
PID=
cleanup() {
    [ -n "$PID" ] && kill -9 "$PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    xwininfo -root -tree | grep -a '"' | head -20
    cat "$WORK/log"
    exit 1
}
# Waits up to 20 s for a window whose name contains $1.
window_named() {
    i=0
    until xwininfo -root -tree | grep -aqF "$1"; do
        i=$((i + 1))
        [ "$i" -le 200 ] || return 1
        kill -0 "$PID" 2>/dev/null || return 1
        sleep 0.1
    done
}

# Each start has a home of its own: the menu's launcher keeps the settings file there,
# and the first start writes the all-zero synthesizer fields of the file it opened.
mkdir "$WORK/tables" "$WORK/start" "$WORK/home1" "$WORK/home2"
head -c 2048 /dev/zero >"$WORK/tables/site 1.tbl"
# Named relative to where it is started, as a shell user would.
(cd "$WORK/tables" && HOME="$WORK/home1" exec "$PROGRAM" "site 1.tbl") >"$WORK/log" 2>&1 &
PID=$!
window_named "\"RW830KT  V1.0.7 - [$WORK/tables/site 1.tbl]\"" ||
    fail "no window captioned with the file opened"
kill -TERM "$PID"
wait "$PID"
status=$?
[ "$status" -eq 143 ] || fail "the window ended with status $status after SIGTERM"
PID=
echo "PASS: the window opened the file named on its command line"

(cd "$WORK/start" && HOME="$WORK/home2" exec "$PROGRAM" "$WORK/tables/missing.tbl") >"$WORK/log" 2>&1 &
PID=$!
window_named '"File Error"' || fail "no File Error box for a missing file"
xwininfo -root -tree | grep -aqF '"RW830KT  V1.0.7"' || fail "the caption changed"
echo "PASS: a missing file brought up the File Error box and left the caption"

# The box open, the system stops the program: it ends at once, the box closed as Cancel.
sent=$(date +%s%N)
kill -TERM "$PID"
wait "$PID"
status=$?
took_ms=$((($(date +%s%N) - sent) / 1000000))
PID=
[ "$status" -eq 143 ] || fail "with the File Error box open, SIGTERM ended the window with $status"
[ "$took_ms" -le 1000 ] || fail "with the File Error box open, SIGTERM took $took_ms ms"
echo "PASS: SIGTERM with the File Error box open ended the window in $took_ms ms with 143"
