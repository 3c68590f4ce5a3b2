#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the folder of the Qt 6.4.2 for MinGW-w64 that the Windows build uses, making it
# there first when needed: unpacked from qt-6.4.2-mingw64.tar.xz when that lies in
# ../shared/windows beside the project (or where RW830KT_QT_SDK_TARBALL names), else the
# one already in /opt/qt-6.4.2-mingw64, else built there from Debian's own Qt source with
# build-qt-sdk.sh (about an hour on two cores, once per machine). With --at-hand it only
# tells, by its status, whether a tarball or a complete folder is there to use without a build.
set -e
HERE=$(cd "$(dirname "$0")" && pwd)
PREFIX=${RW830KT_QT_SDK:-/opt/qt-6.4.2-mingw64}
TARBALL=${RW830KT_QT_SDK_TARBALL:-$HERE/../../../shared/windows/qt-6.4.2-mingw64.tar.xz}
COMPLETE="$PREFIX/lib/cmake/Qt6SerialPort/Qt6SerialPortConfig.cmake"
STAMP="$PREFIX/.unpacked-from"
SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo

if [ "$1" = --at-hand ]; then
    [ -f "$TARBALL" ] || [ -f "$COMPLETE" ]
    exit
fi

if [ -f "$TARBALL" ]; then
    # Unpacked once per tarball: the stamp names the one the folder came from.
    wanted=$(ls -l --time-style=+%s "$TARBALL" | awk '{print $5 "-" $6}')
    if [ ! -f "$COMPLETE" ] || [ "$(cat "$STAMP" 2>/dev/null)" != "$wanted" ]; then
        echo "Unpacking Qt for MinGW from $TARBALL into $PREFIX" >&2
        $SUDO rm -rf "$PREFIX"
        $SUDO mkdir -p "$PREFIX"
        # The tarball holds the folder itself (qt-6.4.2-mingw64/...).
        $SUDO tar -xJf "$TARBALL" -C "$PREFIX" --strip-components=1
        echo "$wanted" | $SUDO tee "$STAMP" >/dev/null
    fi
elif [ ! -f "$COMPLETE" ]; then
    echo "No Qt for MinGW in $PREFIX: building it there (about an hour on two cores)" >&2
    $SUDO "$HERE/build-qt-sdk.sh" "$PREFIX" >&2
fi
[ -f "$COMPLETE" ] || { echo "qt-sdk.sh: no complete Qt for MinGW in $PREFIX" >&2; exit 1; }
echo "$PREFIX"
