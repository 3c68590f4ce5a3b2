#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package of the window, the command line and the transmitter simulator
# (with CPack, the Qt 6 runtime packages found by dpkg-shlibdeps) and prints its path, the
# only thing this prints on standard output. Install it with
#     sudo apt-get install ./build-package/package/rw830kt_VERSION_ARCH.deb
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh build package >&2
scripts/build.sh --package >&2
rm -f build-package/package/*.deb
(cd build-package && cpack >&2)
for deb in "$PWD"/build-package/package/*.deb; do
    [ -f "$deb" ] || { echo "package.sh: CPack made no package." >&2; exit 1; }
    echo "$deb"
done
