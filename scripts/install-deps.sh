#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that the named tasks need on a fresh Debian 12 machine, and
# does nothing when they are all there already. Uses sudo when not run as root.
#   build          compile the programs and the tests (the default)
#   x11            run the window tests under a virtual X server with a window manager, and
#                  read the window over the accessibility bus (AT-SPI) as a screen reader does
#   network        run the tests of ports on a serial server (ser2net on the loopback address)
#   windows        cross-build for Windows with MinGW-w64, run its tests under Wine and
#                  pack the zip and the installer (NSIS)
#   package        make the Debian packages (scripts/package.sh)
#   check-package  check, install and try them (scripts/check-package.sh): lintian,
#                  hardening-check, mandoc, the desktop and AppStream validators, the MIME
#                  database and xdg-mime, GLib's view of the desktop entry, man,
#                  bash-completion, and an X server
#   fuzz           build and run the libFuzzer targets with clang (scripts/fuzz.sh)
set -e
[ $# -gt 0 ] || set -- build
PACKAGES=
# Installed without the packages they recommend: devscripts alone would bring dozens.
LEAN=
for task in "$@"; do
    case "$task" in
    build)
        PACKAGES="$PACKAGES qt6-base-dev qt6-serialport-dev qt6-qpa-plugins libgl-dev cmake"
        PACKAGES="$PACKAGES g++ ninja-build fonts-dejavu-core poppler-utils bash-completion"
        ;;
    x11)
        PACKAGES="$PACKAGES xvfb xauth matchbox-window-manager x11-utils"
        PACKAGES="$PACKAGES at-spi2-core dbus python3-pyatspi python3-gi desktop-file-utils"
        ;;
    windows)
        PACKAGES="$PACKAGES g++-mingw-w64-x86-64-posix cmake ninja-build qt6-base-dev-tools"
        # Wine without what it recommends but its fonts (a Qt window lays out text with
        # them): no sound, printing or desktop integration needed.
        LEAN="$LEAN wine wine64 fonts-wine fonts-liberation nsis zip unzip xz-utils python3"
        # The window under Wine, driven from the keyboard on a virtual X display.
        LEAN="$LEAN xvfb xauth matchbox-window-manager xdotool poppler-utils"
        ;;
    package) LEAN="$LEAN dpkg-dev debhelper file" ;;
    check-package)
        LEAN="$LEAN desktop-file-utils appstream lintian devscripts mandoc man-db"
        LEAN="$LEAN shared-mime-info xdg-utils libfile-mimeinfo-perl bash-completion"
        LEAN="$LEAN xvfb xauth x11-utils python3-gi gir1.2-glib-2.0"
        ;;
    network) PACKAGES="$PACKAGES ser2net" ;;
    fuzz) PACKAGES="$PACKAGES clang libclang-rt-14-dev" ;;
    *)
        echo "install-deps.sh: no task '$task'; the tasks are build, x11, network, windows," \
            "package, check-package and fuzz." >&2
        exit 2
        ;;
    esac
done
# shellcheck disable=SC2086
if dpkg -s $PACKAGES $LEAN >/dev/null 2>&1; then
    exit 0
fi
SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO apt-get update -qq
# shellcheck disable=SC2086
[ -z "$PACKAGES" ] ||
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $PACKAGES >/dev/null
# shellcheck disable=SC2086
[ -z "$LEAN" ] ||
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $LEAN >/dev/null
