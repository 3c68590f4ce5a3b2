#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Debian package as a user gets it: builds it (scripts/package.sh), validates
# its desktop entry and AppStream data, installs it with apt-get, runs the installed
# programs, and removes it again. Installs into this machine's /usr: meant for CI and
# for test machines (uses sudo when not run as root).
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh check-package
DEB=$(scripts/package.sh)
echo "Package: $DEB"
dpkg-deb --field "$DEB" Package Version Depends Recommends
# The Qt libraries, and with libqt6gui6 the platform plugins the window starts with.
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6; do
    dpkg-deb --field "$DEB" Depends | grep -q "\b$lib\b" || {
        echo "check-package.sh: the package does not depend on $lib" >&2
        exit 1
    }
done

SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
WORK=$(mktemp -d)
PROGRAM=
SIMULATOR=
cleanup() {
    [ -n "$PROGRAM" ] && kill -9 "$PROGRAM" 2>/dev/null
    [ -n "$SIMULATOR" ] && kill "$SIMULATOR" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
    echo "check-package.sh: $*" >&2
    exit 1
}

APP=io.github.rw830kt.rw830kt
dpkg-deb -x "$DEB" "$WORK/unpacked"
desktop-file-validate "$WORK/unpacked/usr/share/applications/$APP.desktop"
appstreamcli validate --no-net "$WORK/unpacked/usr/share/metainfo/$APP.metainfo.xml"
echo "The desktop entry and the AppStream data are valid."

DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "$DEB" >/dev/null
echo "Installed: $(dpkg-query -W -f '${Package} ${Version} ${Status}' rw830kt)"
FILES=$(dpkg -L rw830kt)
for f in /usr/bin/rw830kt /usr/bin/rw830kt-simulator /usr/share/man/man1/rw830kt.1.gz \
    /usr/lib/udev/rules.d/70-rw830kt-serial.rules \
    /usr/share/icons/hicolor/48x48/apps/rw830kt.png /usr/share/icons/hicolor/scalable/apps/rw830kt.svg; do
    [ -e "$f" ] || fail "the package did not install $f"
done
LAUNCHER=$(sed -n 's/^Exec=//p' "/usr/share/applications/$APP.desktop")
[ -x "$LAUNCHER" ] || fail "the menu entry starts $LAUNCHER, which is not there"

# The command line: its version, then a read from the installed simulator and a dump.
[ -x /usr/bin/rw830kt-cli ] || fail "the package did not install /usr/bin/rw830kt-cli"
[ -e /usr/share/man/man1/rw830kt-cli.1.gz ] || fail "the package has no manual page of rw830kt-cli"
/usr/bin/rw830kt-cli --version
/usr/bin/rw830kt-simulator --save "$WORK/transmitter.tbl" >"$WORK/simulator.out" &
SIMULATOR=$!
i=0
until [ -s "$WORK/simulator.out" ]; do
    i=$((i + 1))
    [ "$i" -le 100 ] && kill -0 "$SIMULATOR" 2>/dev/null || fail "the simulator did not start"
    sleep 0.1
done
/usr/bin/rw830kt-cli read -p "$(head -n 1 "$WORK/simulator.out")" -o "$WORK/read.tbl"
/usr/bin/rw830kt-cli dump "$WORK/read.tbl" >"$WORK/dump.txt"
kill "$SIMULATOR"
SIMULATOR=
grep -q SysCode "$WORK/dump.txt" || fail "rw830kt-cli dump names no SysCode"
echo "The installed rw830kt-cli read the installed simulator and dumped the table."

# Starts the window offscreen by the given command in the folder RUN_IN, waits until it is
# up (it then catches SIGTERM), stops it as the system would, and checks that it closed in
# order: exit status 0 and its settings file written where SETTINGS says.
window_opens_and_closes() {
    run_in=$1
    settings=$2
    shift 2
    (cd "$run_in" && QT_QPA_PLATFORM=offscreen exec "$@") >"$WORK/window.log" 2>&1 &
    PROGRAM=$!
    i=0
    while :; do
        kill -0 "$PROGRAM" 2>/dev/null || { cat "$WORK/window.log"; fail "the window ended at start"; }
        mask=$(sed -n 's/^SigCgt:[[:space:]]*//p' "/proc/$PROGRAM/status" 2>/dev/null)
        [ -n "$mask" ] && [ $((0x$mask >> 14 & 1)) -eq 1 ] && break
        i=$((i + 1))
        [ "$i" -le 200 ] || fail "the window did not come up within 20 s"
        sleep 0.1
    done
    sleep 1
    kill -0 "$PROGRAM" 2>/dev/null || { cat "$WORK/window.log"; fail "the window ended by itself"; }
    kill -TERM "$PROGRAM"
    status=0
    wait "$PROGRAM" || status=$?
    PROGRAM=
    [ "$status" -eq 0 ] || { cat "$WORK/window.log"; fail "the window ended with status $status"; }
    [ -s "$settings" ] || fail "the window wrote no $settings"
}

mkdir "$WORK/empty" "$WORK/home"
window_opens_and_closes "$WORK/empty" "$WORK/empty/RW830KT2485E.ini" /usr/bin/rw830kt
echo "The installed window started in an empty folder and wrote its settings file on close."
window_opens_and_closes "$WORK" "$WORK/home/RW830KT/RW830KT2485E.ini" \
    env HOME="$WORK/home" "$LAUNCHER"
[ ! -e "$WORK/RW830KT2485E.ini" ] || fail "started from the menu, the window wrote into its start folder"
echo "Started from the menu, the window made ~/RW830KT and kept its files there."

DEBIAN_FRONTEND=noninteractive $SUDO apt-get remove -y -qq rw830kt >/dev/null
dpkg-query -W -f '${Status}' rw830kt 2>/dev/null | grep -q '^install' &&
    fail "rw830kt is still installed"
for f in $FILES; do
    [ -d "$f" ] || [ ! -e "$f" ] || fail "$f is left after removing the package"
done
echo "Removed: nothing of the package is left."
