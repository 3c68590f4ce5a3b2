#!/bin/sh
# Installs every package needed to build, run and test the programming tool on a fresh
# Debian 12 machine. Does nothing when they are all there already.
set -e
PACKAGES="qt6-base-dev qt6-serialport-dev qt6-qpa-plugins libgl-dev cmake g++ ninja-build \
fonts-dejavu-core xvfb xauth matchbox-window-manager g++-mingw-w64-x86-64"
# shellcheck disable=SC2086
if dpkg -s $PACKAGES >/dev/null 2>&1; then
    exit 0
fi
SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $PACKAGES >/dev/null
