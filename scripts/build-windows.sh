#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds the program for 64-bit Windows with MinGW-w64 into build-windows/:
# rw830kt.exe, rw830kt-cli.exe and the tests that run under Wine (scripts/check-windows.sh
# runs them). Installs Debian's MinGW, Wine and NSIS packages itself, and finds or makes the
# Qt for MinGW (scripts/windows/qt-sdk.sh). The simulator the tests use is a Linux program:
# it is built into build/ first (scripts/build.sh).
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh build windows
SDK=$(scripts/windows/qt-sdk.sh)
DIR=build-windows
GENERATOR=
[ -f "$DIR/CMakeCache.txt" ] || GENERATOR="-G Ninja"
# shellcheck disable=SC2086
cmake -S . -B "$DIR" $GENERATOR -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/scripts/windows/mingw64-toolchain.cmake" \
    -DRW_QT_MINGW_PREFIX="$SDK" -DCMAKE_PREFIX_PATH="$SDK" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$PWD/scripts/windows/wine-run.sh;$SDK" >/dev/null
cmake --build "$DIR" --parallel "$(nproc)"
echo "Windows build in $DIR/ (Qt from $SDK)"
