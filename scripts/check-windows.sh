#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Windows build under Wine, each part in a Wine prefix of its own made afresh:
#  1. the cross-built tests (ctest in build-windows/): the core and the command line, the
#     window offscreen, and the safe saves on Wine's file system; a test that needs the
#     transmitter gets the Linux simulator as a COM port (scripts/windows/simulator-broker);
#  2. the zip alone: rw830kt-cli.exe writes a table into the simulator on COM5 and reads it
#     back, a Read over a table keeps the old one as .BAK, Ctrl+C (SIGINT, which Wine turns
#     into the console's Ctrl+C event) stops a Write with status 130 and no frame after the
#     stop, the settings sheet's PDF holds the table's fingerprint, and the window (on a
#     virtual X display, driven from the keyboard) writes a table with F4, closes with
#     Ctrl+X leaving a settings file, and starts again from it;
#  3. the installer, silently (/S): the installed rw830kt-cli.exe on COM5, a table file
#     opened in the window through the .tbl association, and the uninstaller, which leaves
#     the user's files.
# Builds what it needs first (the Linux simulator, scripts/package-windows.sh).
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh build windows
scripts/build.sh --target rw830kt_txsim rw830kt-cli >/dev/null
PACKED=$(scripts/package-windows.sh | tail -n 2)
ZIP=$(echo "$PACKED" | sed -n 1p)
SETUP=$(echo "$PACKED" | sed -n 2p)
HERE=$PWD
SIMULATOR=$HERE/build/tools/rw830kt_txsim
KEYS=$HERE/scripts/windows/window-keys.sh
WORK=$(mktemp -d /tmp/rw830kt-windows-XXXXXX)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX="$WORK/prefix"
BROKER= SIM= XSERVER=
cleanup() {
    status=$?
    for pid in $BROKER $SIM $XSERVER; do kill "$pid" 2>/dev/null || true; done
    wineserver -k 2>/dev/null || true
    if [ "$status" -eq 0 ]; then
        rm -rf "$WORK"
    else
        echo "check-windows.sh: what the check made is kept in $WORK" >&2
    fi
    exit $status
}
trap cleanup EXIT INT TERM
step() { echo "== $*"; }
fail() {
    echo "check-windows.sh: $*" >&2
    exit 1
}

# A fresh prefix whose server stays up between the many short programs of a part.
new_prefix() {
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -p 600 </dev/null >/dev/null 2>&1 &
}

# The simulator on the Linux side, its pseudo-terminal linked as COM5: SIM, SIMDIR.
start_simulator() {
    SIMDIR=$(mktemp -d "$WORK/sim-XXXXXX")
    "$SIMULATOR" --save "$SIMDIR/memory.tbl" --log "$SIMDIR/requests.log" "$@" \
        >"$SIMDIR/device" </dev/null &
    SIM=$!
    while [ ! -s "$SIMDIR/device" ]; do
        kill -0 "$SIM" 2>/dev/null || fail "the simulator did not start"
        sleep 0.05
    done
    ln -sfn "$(head -n 1 "$SIMDIR/device")" "$WINEPREFIX/dosdevices/com5"
}
stop_simulator() {
    kill "$SIM" 2>/dev/null || true
    wait "$SIM" 2>/dev/null || true
    SIM=
    rm -f "$WINEPREFIX/dosdevices/com5"
}
requests() { { wc -l <"$SIMDIR/requests.log"; } 2>/dev/null || echo 0; }
# Waits until the simulator has taken at least N requests.
wait_for_requests() {
    while [ "$(requests)" -lt "$1" ]; do
        kill -0 "$SIM" 2>/dev/null || fail "the simulator ended"
        sleep 0.02
    done
}
# Waits up to a minute for a started program to end, then takes its status: fails when it
# does not end (a box nobody expected holds it) or ends with another status than 0.
wait_ended() {
    tries=0
    while kill -0 "$1" 2>/dev/null; do
        tries=$((tries + 1))
        [ "$tries" -le 1200 ] || fail "$2 did not end"
        sleep 0.05
    done
    wait "$1" || fail "$2 ended with status $?"
}
# Waits until a path is there (or, with "gone", is not).
wait_for_path() {
    tries=0
    while if [ "$2" = gone ]; then [ -e "$1" ]; else [ ! -e "$1" ]; fi; do
        tries=$((tries + 1))
        [ "$tries" -le 1200 ] || fail "$1 did not ${2:-appear}"
        sleep 0.05
    done
}

# A virtual X display with a window manager, for the window under Wine.
exec 3>"$WORK/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XSERVER=$!
exec 3>&-
wait_for_path "$WORK/display"
while [ ! -s "$WORK/display" ]; do sleep 0.05; done
export DISPLAY=":$(cat "$WORK/display")"
matchbox-window-manager -use_titlebar no >/dev/null 2>&1 &

step "1. the cross-built tests under Wine"
new_prefix
scripts/windows/simulator-broker "$SIMULATOR" "$WINEPREFIX" "$WORK/broker-port" &
BROKER=$!
wait_for_path "$WORK/broker-port"
RW830KT_SIMULATOR_BROKER=$(cat "$WORK/broker-port") \
    ctest --test-dir build-windows --output-on-failure --parallel "$(($(nproc) * 2))"
kill "$BROKER"
BROKER=

step "2. the zip alone"
new_prefix
mkdir -p "$WORK/zip" "$WORK/site"
(cd "$WORK/zip" && unzip -q "$ZIP")
APP=$(find "$WORK/zip" -maxdepth 1 -mindepth 1 -type d)
cli() { (cd "$WORK/site" && wine "$APP/rw830kt-cli.exe" "$@"); }
# A table with every byte of the settings set, the zero tail as a table has it: every byte
# value crosses the line.
head -c 1940 /dev/urandom >"$WORK/site/t.tbl"
head -c 108 /dev/zero >>"$WORK/site/t.tbl"
# A table a technician would keep, for the window: its synthesizer words are ones the
# window's settings file can hold (random words would be refused at the next start).
echo '{}' >"$WORK/site.json"
"$HERE/build/src/rw830kt-cli" build -o "$WORK/site/site.tbl" "$WORK/site.json" >/dev/null
"$HERE/build/src/rw830kt-cli" set "$WORK/site/site.tbl" frequency=462025000 system-code=1234 \
    logo=NORTH message.1="Call the office" message.30="$(head -c 12 /dev/urandom | od -An -tx1 | tr -d ' \n')"

start_simulator --baud 19200
cli write -p COM5 t.tbl >/dev/null || fail "rw830kt-cli.exe write -p COM5 failed"
cmp "$SIMDIR/memory.tbl" "$WORK/site/t.tbl" || fail "the simulator does not hold the table"
printf 'something older' >"$WORK/site/back.tbl"
cli read -p COM5 -o back.tbl >/dev/null || fail "rw830kt-cli.exe read -p COM5 failed"
cmp "$WORK/site/back.tbl" "$WORK/site/t.tbl" || fail "the table read back differs"
[ "$(cat "$WORK/site/back.BAK")" = "something older" ] || fail "no .BAK of the table replaced"
stop_simulator
echo "COM5: the table written and read back byte for byte; the older one kept as back.BAK"

start_simulator --baud 19200 --latency 20
(cd "$WORK/site" && exec wine "$APP/rw830kt-cli.exe" write -p COM5 --trace trace.txt t.tbl) \
    >/dev/null 2>&1 &
CLI=$!
wait_for_requests 6
# Wine hands a console program's SIGINT on as the console's Ctrl+C event.
pkill -INT -f 'rw830kt-cli.exe write' || fail "rw830kt-cli.exe is not running"
status=0
wait "$CLI" || status=$?
[ "$status" -eq 130 ] || fail "Ctrl+C ended the Write with status $status, not 130"
taken=$(requests)
grep -q -- "-- run stopped during block .* by Ctrl+C" "$WORK/site/trace.txt" ||
    fail "the trace does not end with the stop"
sent=$(grep -c ' >> ' "$WORK/site/trace.txt")
[ "$sent" -eq "$taken" ] || fail "the trace sent $sent frames, the transmitter took $taken"
stop_simulator
echo "Ctrl+C stopped the Write with status 130 after $taken frames, none after the stop"

cli sheet t.tbl -o sheet.pdf || fail "rw830kt-cli.exe sheet failed"
crc=$(cli dump t.tbl | sed -n 's/^CRC-32 *//p' | tr -d '\r')
[ -n "$crc" ] || fail "dump printed no CRC-32"
pdftotext "$WORK/site/sheet.pdf" - | grep -q "$crc" || fail "the sheet lacks the CRC-32 $crc"
echo "The settings sheet's PDF holds the table's fingerprint $crc"

start_simulator --baud 19200
mkdir -p "$WORK/window"
printf '[Serial]\r\nExtraPorts=COM5\r\n' >"$WORK/window/RW830KT2485E.ini"
cp "$WORK/site/site.tbl" "$WORK/window/site.tbl"
(cd "$WORK/window" && exec wine "$APP/rw830kt.exe" site.tbl) >"$WORK/window.log" 2>&1 &
WINDOW=$!
"$KEYS" wait "RW830KT  V"
"$KEYS" keys "RW830KT  V" F4
wait_for_requests 32
"$KEYS" wait "RW830KT\$"
cmp "$SIMDIR/memory.tbl" "$WORK/window/site.tbl" || fail "the window's Write did not arrive whole"
"$KEYS" keys "RW830KT\$" Return
"$KEYS" gone "RW830KT\$"
"$KEYS" keys "RW830KT  V" ctrl+x
wait_ended "$WINDOW" "the window"
grep -q "^RF_N=" "$WORK/window/RW830KT2485E.ini" || fail "the window left no settings file"
cp "$WORK/window/RW830KT2485E.ini" "$WORK/settings-after-first"
(cd "$WORK/window" && exec wine "$APP/rw830kt.exe") >/dev/null 2>&1 &
WINDOW=$!
"$KEYS" wait "RW830KT  V"
"$KEYS" keys "RW830KT  V" ctrl+x
wait_ended "$WINDOW" "the window's second start"
cmp "$WORK/settings-after-first" "$WORK/window/RW830KT2485E.ini" ||
    fail "the next start did not read back the settings file the window left"
stop_simulator
echo "The window wrote the table with F4 and left a settings file its next start reads"

step "3. the installer"
new_prefix
wine "$SETUP" /S
INSTDIR=$(find "$WINEPREFIX/drive_c/users" -type d -path '*/AppData/Local/Programs/RW830KT' | head -n 1)
[ -n "$INSTDIR" ] && [ -f "$INSTDIR/rw830kt.exe" ] || fail "nothing installed in Programs\\RW830KT"
start_simulator --baud 19200
(cd "$WORK/site" && wine "$INSTDIR/rw830kt-cli.exe" write -p COM5 t.tbl >/dev/null) ||
    fail "the installed rw830kt-cli.exe could not write"
cmp "$SIMDIR/memory.tbl" "$WORK/site/t.tbl" || fail "the installed program wrote other bytes"
stop_simulator
# A double-click on a table file: the association starts the window in its own folder.
# Windows looks a file's type up in the user's classes before the machine's; Wine's shell
# looks only in the machine's, so the check copies the user's two keys there first.
for key in .tbl RW830KT.Table; do
    wine reg export "HKCU\\Software\\Classes\\$key" "$WORK/key.reg" /y >/dev/null 2>&1 ||
        fail "the installer registered no $key"
    iconv -f UTF-16 -t UTF-8 "$WORK/key.reg" | sed 's/^\[HKEY_CURRENT_USER\\/[HKEY_LOCAL_MACHINE\\/' \
        >"$WORK/machine.reg"
    wine regedit /S "$WORK/machine.reg"
done
cp "$WORK/site/site.tbl" "$WORK/site/north.tbl"
wine start /unix "$WORK/site/north.tbl" >/dev/null 2>&1
"$KEYS" wait "RW830KT  V.*north.tbl"
"$KEYS" keys "RW830KT  V" ctrl+x
wait_for_path "$INSTDIR/RW830KT2485E.ini"
mkdir -p "$INSTDIR/backups"
cp "$WORK/site/site.tbl" "$INSTDIR/backups/COM5-20261210-120000.tbl"
"$KEYS" gone "RW830KT  V"
wine "$INSTDIR/uninstall.exe" /S
# The uninstaller runs on from a copy of itself; it is done when its own file has gone.
wait_for_path "$INSTDIR/uninstall.exe" gone
wait_for_path "$INSTDIR/rw830kt.exe" gone
[ -f "$INSTDIR/RW830KT2485E.ini" ] && [ -f "$INSTDIR/backups/COM5-20261210-120000.tbl" ] ||
    fail "the uninstaller did not leave the user's files"
left=$(cd "$INSTDIR" && find . -type f | sort | tr '\n' ' ')
[ "$left" = "./RW830KT2485E.ini ./backups/COM5-20261210-120000.tbl " ] ||
    fail "the uninstaller left $left"
! wine reg query "HKCU\\Software\\Classes\\RW830KT.Table" >/dev/null 2>&1 ||
    fail "the uninstaller left the association of table files"
echo "Installed, opened north.tbl through its association, uninstalled leaving the user's files"
echo "The Windows build passes its tests under Wine; the zip and the installer work."
