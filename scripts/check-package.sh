#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Debian packages as a distribution and a user get them: builds them twice
# (scripts/package.sh) and compares the bytes, runs lintian, hardening-check, mandoc and
# the desktop and AppStream validators, installs rw830kt-cli and rw830kt with apt-get,
# tries the installed programs, the MIME type, the menu entry as GLib/GIO loads it, the
# manual pages and the completion, and removes them again. Installs into this machine's
# /usr: meant for CI and for test machines (uses sudo when not run as root). With --built
# it checks the packages that build-package/ holds, without building or comparing (for a
# second look after a fix); with --once it builds them once and does not compare (CI, whose
# time the second build would take).
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh check-package x11

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
OUT=build-package
APP=io.github.rw830kt.rw830kt

# Two builds of one commit give the same bytes. Both compile everything anew: a compiler
# cache would hand the second build the first one's objects (comparing only the packing),
# and ccache's relative paths end up in the debug symbols, unlike a plain build's.
if [ "$1" = --built ]; then
    ls "$PWD/$OUT"/rw830kt_*.deb "$PWD/$OUT"/rw830kt-cli_*.deb >"$WORK/debs"
elif [ "$1" = --once ]; then
    CCACHE_DISABLE=1 scripts/package.sh >"$WORK/debs"
else
    CCACHE_DISABLE=1 scripts/package.sh >"$WORK/debs"
    mkdir "$WORK/first"
    cp "$OUT"/*.deb "$WORK/first/"
    CCACHE_DISABLE=1 scripts/package.sh >"$WORK/debs"
    same=yes
    for f in "$WORK"/first/*; do
        cmp "$f" "$OUT/${f##*/}" || same=
    done
    [ -n "$same" ] || fail "two builds of the same sources differ (above)"
    echo "Two builds gave the same bytes: $(cd "$WORK/first" && echo *)"
fi
CLI_DEB=$(sed -n '/rw830kt-cli_/p' "$WORK/debs")
WINDOW_DEB=$(sed -n '/\/rw830kt_/p' "$WORK/debs")
[ -f "$CLI_DEB" ] && [ -f "$WINDOW_DEB" ] || fail "package.sh named no packages"
dpkg-deb --field "$CLI_DEB" Package Version Depends
dpkg-deb --field "$WINDOW_DEB" Package Version Depends Recommends

# The command line runs on a computer without a display: Qt Core and SerialPort (and
# what the core links besides), never the window's libraries. Its settings sheet is a
# module that draws with Qt Gui (with the offscreen platform libqt6gui6 brings), so the
# package depends on that; the program itself does not link it (checked once unpacked).
# The window has them all, and with libqt6gui6 the platform plugins it starts with.
for lib in libqt6core6 libqt6serialport6 libqt6gui6; do
    dpkg-deb --field "$CLI_DEB" Depends | grep -q "\b$lib\b" ||
        fail "rw830kt-cli does not depend on $lib"
done
for lib in libqt6widgets6 libqt6printsupport6; do
    dpkg-deb --field "$CLI_DEB" Depends | grep -q "\b$lib\b" &&
        fail "rw830kt-cli depends on $lib"
done
for lib in libqt6gui6 libqt6widgets6 libqt6printsupport6; do
    dpkg-deb --field "$WINDOW_DEB" Depends | grep -q "\b$lib\b" ||
        fail "rw830kt does not depend on $lib"
done
dpkg-deb --field "$WINDOW_DEB" Depends | grep -q "rw830kt-cli (= " ||
    fail "rw830kt does not depend on its own version of rw830kt-cli"

# What a Debian reviewer runs. The overrides lintian may use are in debian/*.lintian-overrides,
# each with the reason beside it.
lintian --fail-on error,warning --tag-display-limit 0 "$OUT"/rw830kt_*.changes
echo "lintian: no error and no warning."

mkdir "$WORK/unpacked"
dpkg-deb -x "$CLI_DEB" "$WORK/unpacked"
dpkg-deb -x "$WINDOW_DEB" "$WORK/unpacked"
# PIE, stack protector, fortified functions, read-only relocations and immediate binding
# must all be there. Control-flow protection cannot be on Debian 12: its C library's
# start-up objects carry no IBT/SHSTK note, so the linker drops it from every program.
# A program whose every fortifiable call the compiler proved in bounds has only plain
# ones ("only unprotected functions found"): that is fortify at work, not its absence, so
# it passes when the build used _FORTIFY_SOURCE; every other check stays strict.
for program in rw830kt rw830kt-cli rw830kt-simulator; do
    report=$(hardening-check --nocfprotection "$WORK/unpacked/usr/bin/$program" 2>&1) && continue
    echo "$report"
    if echo "$report" | grep -q "Fortify Source functions: no, only unprotected functions found" &&
        hardening-check --nocfprotection --nofortify "$WORK/unpacked/usr/bin/$program" >/dev/null &&
        dpkg-buildflags --get CPPFLAGS | grep -q -- "-D_FORTIFY_SOURCE=2"; then
        echo "$program: every fortifiable call was proved in bounds at build time."
        continue
    fi
    fail "$program is not built with all of Debian's hardening"
done
# rw830kt-cli starts with Qt Core and SerialPort alone: Qt Gui comes with its sheet module.
readelf -d "$WORK/unpacked/usr/bin/rw830kt-cli" | grep -q 'NEEDED.*libQt6Gui' &&
    fail "rw830kt-cli links Qt Gui itself"
readelf -d "$WORK/unpacked/usr/lib/rw830kt/librw830kt-sheet.so" | grep -q 'NEEDED.*libQt6Gui' ||
    fail "the sheet module does not link Qt Gui"
for page in "$WORK"/unpacked/usr/share/man/man1/*.1.gz; do
    mandoc -T lint -W warning "$page" || fail "mandoc finds fault with ${page##*/}"
done
desktop-file-validate "$WORK/unpacked/usr/share/applications/$APP.desktop"
appstreamcli validate --no-net "$WORK/unpacked/usr/share/metainfo/$APP.metainfo.xml"
echo "hardening-check, mandoc, the desktop entry and the AppStream data: all good."

DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "$CLI_DEB" "$WINDOW_DEB" >/dev/null
for package in rw830kt-cli rw830kt; do
    echo "Installed: $(dpkg-query -W -f '${Package} ${Version} ${Status}' $package)"
done
FILES=$(dpkg -L rw830kt rw830kt-cli)
for f in /usr/bin/rw830kt /usr/bin/rw830kt-cli /usr/bin/rw830kt-simulator \
    /usr/share/man/man1/rw830kt.1.gz /usr/share/man/man1/rw830kt-cli.1.gz \
    /usr/share/man/man1/rw830kt-simulator.1.gz /lib/udev/rules.d/70-rw830kt-serial.rules \
    /usr/share/doc/rw830kt/copyright /usr/share/doc/rw830kt-cli/copyright \
    /usr/share/doc/rw830kt/changelog.gz /usr/share/mime/packages/rw830kt.xml \
    /usr/share/bash-completion/completions/rw830kt-cli \
    /usr/share/icons/hicolor/48x48/apps/rw830kt.png /usr/share/icons/hicolor/scalable/apps/rw830kt.svg; do
    [ -e "$f" ] || fail "the packages did not install $f"
done
LAUNCHER=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "/usr/share/applications/$APP.desktop")
[ -x "$LAUNCHER" ] || fail "the menu entry starts $LAUNCHER, which is not there"

# Versions, without a display for the window.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb /usr/bin/rw830kt --version | tee "$WORK/v"
grep -q '^License GPL-3.0-or-later' "$WORK/v" || fail "rw830kt --version names no licence"
/usr/bin/rw830kt-cli --version | grep -q '^rw830kt-cli ' || fail "rw830kt-cli --version"
/usr/bin/rw830kt-simulator --version | grep -q '^rw830kt-simulator ' ||
    fail "rw830kt-simulator --version"
MANPAGER=cat man rw830kt-simulator 2>/dev/null | grep -q 'simulated RW830KT' ||
    fail "man rw830kt-simulator shows no manual page"
echo "The three programs give their versions; man rw830kt-simulator works."

# A table file is a type of its own, which the window's desktop entry opens.
head -c 2048 /dev/zero >"$WORK/x.tbl"
mkdir "$WORK/xdg-home"
type=$(HOME="$WORK/xdg-home" xdg-mime query filetype "$WORK/x.tbl")
[ "$type" = application/x-rw830kt-table ] || fail "xdg-mime takes x.tbl for '$type'"
default=$(HOME="$WORK/xdg-home" xdg-mime query default application/x-rw830kt-table)
[ "$default" = "$APP.desktop" ] || fail "xdg-mime opens table files with '$default'"
echo "xdg-mime: x.tbl is $type, opened by $default."
# GNOME and the other desktops built on GLib load the entry through GIO, which rejects
# what desktop-file-validate lets pass (a TryExec that names no program).
/usr/bin/python3 scripts/check-desktop-entry.py /usr/share ||
    fail "GLib/GIO does not offer the menu entry for table files"

# bash-completion finds the completion where it loads completions from, on first use.
# shellcheck disable=SC2016
verbs=$(bash -c '. /usr/share/bash-completion/bash_completion
    _completion_loader rw830kt-cli
    COMP_WORDS=(rw830kt-cli ""); COMP_CWORD=1; COMP_LINE="rw830kt-cli "; COMP_POINT=12
    $(complete -p rw830kt-cli | sed "s/.*-F \([^ ]*\) .*/\1/") 2>/dev/null
    echo "${COMPREPLY[*]}"')
[ "$verbs" = "ports read write verify dump diff set build sheet settings" ] ||
    fail "the completion offers '$verbs' as verbs"
echo "bash completes rw830kt-cli's verbs: $verbs"

# The command line: a read from the installed simulator and a dump.
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
# Its network lines are a module of their own: a port on the loopback address where no
# server listens is refused by the network line itself, not for want of the module.
/usr/bin/rw830kt-cli write -p socket://127.0.0.1:1 "$WORK/read.tbl" 2>"$WORK/network.err" &&
    fail "rw830kt-cli wrote to a port where no server listens"
grep -q 'refuses the connection' "$WORK/network.err" ||
    { cat "$WORK/network.err"; fail "the installed rw830kt-cli did not reach its network lines"; }
echo "The installed rw830kt-cli loaded its network lines for a network port."
# Its settings sheet is a module too, drawing without a display.
env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/rw830kt-cli sheet "$WORK/read.tbl" -o "$WORK/sheet.pdf" ||
    fail "the installed rw830kt-cli made no settings sheet"
head -c 5 "$WORK/sheet.pdf" | grep -q '^%PDF-' || fail "the settings sheet is no PDF"
echo "The installed rw830kt-cli drew a settings sheet with its sheet module."

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
    kill -0 "$PROGRAM" 2>/dev/null || { cat "$WORK/window.log"; fail "the window ended by itself"; }
    kill -TERM "$PROGRAM"
    status=0
    wait "$PROGRAM" || status=$?
    PROGRAM=
    # Ended by SIGTERM, the window closes as asked and exits with the command line's status
    # for that signal, 128 + 15.
    [ "$status" -eq 143 ] || { cat "$WORK/window.log"; fail "the window ended with status $status"; }
    [ -s "$settings" ] || fail "the window wrote no $settings"
}

mkdir "$WORK/empty" "$WORK/home"
window_opens_and_closes "$WORK/empty" "$WORK/empty/RW830KT2485E.ini" /usr/bin/rw830kt
echo "The installed window started in an empty folder and wrote its settings file on close."
window_opens_and_closes "$WORK" "$WORK/home/RW830KT/RW830KT2485E.ini" \
    env HOME="$WORK/home" "$LAUNCHER"
[ ! -e "$WORK/RW830KT2485E.ini" ] || fail "started from the menu, the window wrote into its start folder"
echo "Started from the menu, the window made ~/RW830KT and kept its files there."

# As a double-click on a table file starts it: through the menu's launcher with the
# file, under an X server; the window's caption names the file opened.
tests/support/run-under-x.sh sh tests/app/opens-file-under-x.sh "$LAUNCHER" ||
    fail "the window started from the menu with a table file did not open it"

DEBIAN_FRONTEND=noninteractive $SUDO apt-get remove -y -qq rw830kt rw830kt-cli >/dev/null
for package in rw830kt rw830kt-cli; do
    dpkg-query -W -f '${Status}' $package 2>/dev/null | grep -q '^install' &&
        fail "$package is still installed"
done
for f in $FILES; do
    [ -d "$f" ] || [ ! -e "$f" ] || fail "$f is left after removing the packages"
done
echo "Removed: nothing of the packages is left."
