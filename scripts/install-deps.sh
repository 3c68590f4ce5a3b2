#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that the named tasks need on a fresh Debian 12 machine, and
# does nothing when they are all there already. Uses sudo when not run as root.
#   build          compile the programs and the tests (the default)
#   x11            run the window tests under a virtual X server with a window manager
#   windows        compile-check the Windows port listing with the MinGW cross compiler
#   package        make the Debian package (scripts/package.sh)
#   check-package  validate its desktop entry and AppStream data (scripts/check-package.sh)
set -e
[ $# -gt 0 ] || set -- build
PACKAGES=
for task in "$@"; do
    case "$task" in
    build)
        PACKAGES="$PACKAGES qt6-base-dev qt6-serialport-dev qt6-qpa-plugins libgl-dev cmake"
        PACKAGES="$PACKAGES g++ ninja-build fonts-dejavu-core"
        ;;
    x11) PACKAGES="$PACKAGES xvfb xauth matchbox-window-manager" ;;
    windows) PACKAGES="$PACKAGES g++-mingw-w64-x86-64" ;;
    package) PACKAGES="$PACKAGES dpkg-dev file" ;;
    check-package) PACKAGES="$PACKAGES desktop-file-utils appstream" ;;
    *)
        echo "install-deps.sh: no task '$task'; the tasks are build, x11, windows, package" \
            "and check-package." >&2
        exit 2
        ;;
    esac
done
# shellcheck disable=SC2086
if dpkg -s $PACKAGES >/dev/null 2>&1; then
    exit 0
fi
SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $PACKAGES >/dev/null
