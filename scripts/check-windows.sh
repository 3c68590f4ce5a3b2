#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Windows build under Wine, in a Wine prefix of its own made afresh:
#  1. the cross-built tests (ctest in build-windows/): the core and the command line, the
#     window offscreen, and the safe saves on Wine's file system; a test that needs the
#     transmitter gets the Linux simulator as a COM port (scripts/windows/simulator-broker);
#  2. the zip alone, in a fresh prefix: rw830kt-cli.exe writes a table into the simulator on
#     COM5 and reads it back, Ctrl+C (SIGINT, which Wine turns into the console's Ctrl+C
#     event) stops a Write, a Read over a table keeps its .BAK, and the window starts,
#     closes and leaves a settings file that the next start reads;
#  3. the installer, silently (/S) in a fresh prefix: a table file opened through the .tbl
#     association, the installed rw830kt-cli.exe on a COM port, and the uninstaller, which
#     leaves the user's files.
# Builds what it needs first (scripts/build.sh for the simulator, scripts/package-windows.sh).
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh build windows
scripts/build.sh --target rw830kt_txsim >/dev/null
PACKED=$(scripts/package-windows.sh | tail -n 2)
ZIP=$(echo "$PACKED" | sed -n 1p)
SETUP=$(echo "$PACKED" | sed -n 2p)
SDK=$(scripts/windows/qt-sdk.sh)
SIMULATOR=$PWD/build/tools/rw830kt_txsim
WORK=$(mktemp -d /tmp/rw830kt-windows-XXXXXX)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX="$WORK/prefix"
cleanup() {
    status=$?
    [ -z "$BROKER" ] || kill "$BROKER" 2>/dev/null || true
    [ -z "$SIM" ] || kill "$SIM" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    rm -rf "$WORK"
    exit $status
}
trap cleanup EXIT INT TERM
step() { echo "== $*"; }
fail() { echo "check-windows.sh: $*" >&2; exit 1; }

# A fresh prefix, its server kept running between the many short programs.
new_prefix() {
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -p 600 </dev/null >/dev/null 2>&1 &
}

# The simulator on the Linux side, its pseudo-terminal linked as COM5. Sets SIM and SIMDIR.
start_simulator() {
    SIMDIR=$(mktemp -d "$WORK/sim-XXXXXX")
    "$SIMULATOR" --save "$SIMDIR/memory.tbl" --log "$SIMDIR/requests.log" "$@" \
        >"$SIMDIR/device" </dev/null &
    SIM=$!
    while [ ! -s "$SIMDIR/device" ]; do
        kill -0 "$SIM" 2>/dev/null || fail "the simulator did not start"
        sleep 0.1
    done
    ln -sfn "$(head -n 1 "$SIMDIR/device")" "$WINEPREFIX/dosdevices/com5"
}
stop_simulator() {
    kill "$SIM" 2>/dev/null || true
    wait "$SIM" 2>/dev/null || true
    SIM=
    rm -f "$WINEPREFIX/dosdevices/com5"
}
# Waits until the simulator has taken at least N requests.
wait_for_requests() {
    while [ "$(wc -l <"$SIMDIR/requests.log" 2>/dev/null || echo 0)" -lt "$1" ]; do
        kill -0 "$SIM" 2>/dev/null || fail "the simulator ended"
        sleep 0.05
    done
}

step "1. the cross-built tests under Wine"
new_prefix
scripts/windows/simulator-broker "$SIMULATOR" "$WINEPREFIX" "$WORK/broker-port" &
BROKER=$!
while [ ! -s "$WORK/broker-port" ]; do sleep 0.1; done
RW830KT_SIMULATOR_BROKER=$(cat "$WORK/broker-port") \
    ctest --test-dir build-windows --output-on-failure --parallel "$(($(nproc) * 2))"
kill "$BROKER"
BROKER=

step "2. the zip alone, in a fresh prefix"
new_prefix
mkdir -p "$WORK/zip"
(cd "$WORK/zip" && unzip -q "$ZIP")
APP=$(find "$WORK/zip" -maxdepth 1 -mindepth 1 -type d)
run_cli() { (cd "$WORK/site" && wine "$APP/rw830kt-cli.exe" "$@"); }
mkdir -p "$WORK/site"
head -c 2048 /dev/urandom >"$WORK/site/t.tbl"
dd if=/dev/zero of="$WORK/site/t.tbl" bs=1 seek=1940 count=108 conv=notrunc 2>/dev/null
start_simulator --baud 19200
run_cli write -p COM5 t.tbl || fail "rw830kt-cli.exe write -p COM5 failed"
cmp "$SIMDIR/memory.tbl" "$WORK/site/t.tbl" || fail "the simulator does not hold the table written"
echo "something older" >"$WORK/site/back.tbl"
run_cli read -p COM5 -o back.tbl || fail "rw830kt-cli.exe read -p COM5 failed"
cmp "$WORK/site/back.tbl" "$WORK/site/t.tbl" || fail "the table read back differs"
[ "$(cat "$WORK/site/back.BAK")" = "something older" ] || fail "the table replaced was not kept as .BAK"
stop_simulator

start_simulator --baud 19200 --latency 20
(cd "$WORK/site" && exec wine "$APP/rw830kt-cli.exe" write -p COM5 --trace trace.txt t.tbl) \
    >"$WORK/stopped.out" 2>&1 &
CLI=$!
wait_for_requests 6
# Wine gives a console program the SIGINT of its process as the console's Ctrl+C.
pkill -INT -f 'rw830kt-cli.exe write' || fail "rw830kt-cli.exe is not running"
status=0
wait "$CLI" || status=$?
[ "$status" -eq 130 ] || fail "a Ctrl+C during a Write ended it with $status, not 130"
after=$(wc -l <"$SIMDIR/requests.log")
grep -q "run stopped during block .* by Ctrl+C" "$WORK/site/trace.txt" ||
    fail "the trace does not end with the stop"
frames=$(grep -c ' >> ' "$WORK/site/trace.txt")
[ "$frames" -eq "$after" ] || fail "the line carried $after requests, the trace says $frames"
stop_simulator
echo "Ctrl+C stopped the Write with status 130 after $after requests"

start_simulator --baud 19200
WINDIR_UNIX="$WORK/window"
mkdir -p "$WINDIR_UNIX"
printf '[Serial]\r\nExtraPorts=COM5\r\n' >"$WINDIR_UNIX/RW830KT2485E.ini"
cp "$WORK/site/t.tbl" "$WINDIR_UNIX/site.tbl"
scripts/windows/window-writes.sh "$APP/rw830kt.exe" "$WINDIR_UNIX" site.tbl
cmp "$SIMDIR/memory.tbl" "$WINDIR_UNIX/site.tbl" || fail "the window's Write did not reach the simulator"
grep -q '^OSCFreq=' "$WINDIR_UNIX/RW830KT2485E.ini" || fail "the window left no settings file"
stop_simulator

step "3. the installer"
new_prefix
wine "$SETUP" /S
INSTDIR="$WINEPREFIX/drive_c/users/$USER/AppData/Local/Programs/RW830KT"
[ -f "$INSTDIR/rw830kt.exe" ] || INSTDIR=$(find "$WINEPREFIX/drive_c/users" -type d -path '*Programs/RW830KT' | head -n 1)
[ -f "$INSTDIR/rw830kt.exe" ] || fail "the installer put no rw830kt.exe into Programs\\RW830KT"
scripts/windows/installed-checks.sh "$INSTDIR" "$SIMULATOR"
echo "The Windows build passes its tests under Wine; the zip and the installer work."
