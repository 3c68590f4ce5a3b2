#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt 6.4.2 for 64-bit Windows (MinGW-w64, posix threads) on Debian 12, from Debian's
# own qt6-base source package and the Qt SerialPort 6.4.2 source beside this script, and
# packs it as one tarball. Run as root (it installs Debian packages).
#
#   build-qt-sdk.sh PREFIX [TARBALL]
#
# PREFIX   where the SDK is installed (for example /opt/qt-6.4.2-mingw64); it holds bin/
#          (the DLLs), lib/ (import libraries and CMake packages), include/ and plugins/.
# TARBALL  optional: also pack PREFIX into this .tar.xz.
#
# Modules: Core, Gui, Widgets, Network, Test, SerialPort; platform plugins windows and
# offscreen; styles Fusion, Windows and WindowsVista. Release build, shared libraries. The
# host tools (moc, rcc, uic) are Debian's qt6-base-dev-tools of the same version.
# About 45-60 minutes on 2 cores; the work folder is removed at the end.
set -euo pipefail
PREFIX=${1:?usage: build-qt-sdk.sh PREFIX [TARBALL]}
TARBALL=${2:-}
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d /tmp/qt-mingw-XXXXXX)
trap 'status=$?; if [ $status -ne 0 ]; then echo "build-qt-sdk.sh: failed; logs kept in $WORK" >&2; else rm -rf "$WORK"; fi' EXIT
JOBS=$(nproc)

export DEBIAN_FRONTEND=noninteractive
apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends \
    g++-mingw-w64-x86-64-posix cmake ninja-build qt6-base-dev qt6-base-dev-tools \
    dpkg-dev xz-utils perl >/dev/null

# Debian's source of qt6-base, through a private list of source indexes (the machine's own
# apt lists and settings stay as they are).
mkdir -p "$WORK/apt/lists/partial" "$WORK/src"
. /etc/os-release
echo "deb-src http://deb.debian.org/debian ${VERSION_CODENAME:-bookworm} main" >"$WORK/apt/sources.list"
APT=(-o "Dir::State::Lists=$WORK/apt/lists" -o "Dir::Etc::SourceList=$WORK/apt/sources.list"
     -o "Dir::Etc::SourceParts=/dev/null")
apt-get "${APT[@]}" update >/dev/null
(cd "$WORK/src" && apt-get "${APT[@]}" source --download-only qt6-base=6.4.2+dfsg-10 >/dev/null)
tar -xJf "$WORK/src/qt6-base_6.4.2+dfsg.orig.tar.xz" -C "$WORK/src"
tar -xJf "$HERE/qtserialport-6.4.2.tar.xz" -C "$WORK/src"

TOOLCHAIN="$HERE/mingw64-toolchain.cmake"
export RW_QT_MINGW_PREFIX="$PREFIX"
cmake -S "$WORK/src/qtbase-everywhere-src-6.4.2" -B "$WORK/base" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DRW_QT_MINGW_PREFIX="$PREFIX" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_printsupport=ON \
    -DFEATURE_concurrent=OFF -DFEATURE_testlib=ON -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF \
    -DFEATURE_openssl=OFF -DFEATURE_schannel=OFF -DFEATURE_tabletevent=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF \
    >"$WORK/base-configure.log"
ninja -C "$WORK/base" -j"$JOBS" >"$WORK/base-build.log"
ninja -C "$WORK/base" install >/dev/null

cmake -S "$WORK/src/qtserialport-everywhere-src-6.4.2" -B "$WORK/serialport" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DRW_QT_MINGW_PREFIX="$PREFIX" \
    -DCMAKE_PREFIX_PATH="$PREFIX" -DQt6_DIR="$PREFIX/lib/cmake/Qt6" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" -DCMAKE_BUILD_TYPE=Release \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF >"$WORK/serialport-configure.log"
ninja -C "$WORK/serialport" -j"$JOBS" >"$WORK/serialport-build.log"
ninja -C "$WORK/serialport" install >/dev/null

# The MinGW runtime DLLs that every program built with this compiler needs.
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
    found=$(find /usr/lib/gcc/x86_64-w64-mingw32 /usr/x86_64-w64-mingw32 -name "$dll" \
            -path '*posix*' 2>/dev/null | head -n 1)
    [ -n "$found" ] || found=$(find /usr/lib/gcc/x86_64-w64-mingw32 /usr/x86_64-w64-mingw32 \
                               -name "$dll" 2>/dev/null | head -n 1)
    [ -n "$found" ] && cp "$found" "$PREFIX/bin/"
done
find "$PREFIX/bin" "$PREFIX/plugins" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

if [ -n "$TARBALL" ]; then
    tar -C "$(dirname "$PREFIX")" -cJf "$TARBALL" "$(basename "$PREFIX")"
fi
echo "Qt 6.4.2 for MinGW-w64 is in $PREFIX${TARBALL:+, packed as $TARBALL}"
