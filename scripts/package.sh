#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian packages rw830kt (the window) and rw830kt-cli (the command line and
# the simulator), with their -dbgsym packages, by dpkg-buildpackage from debian/. It
# builds from a copy of the checkout in build-package/source, so everything it makes
# lands in build-package/ and nothing beside the checkout (which may be read-only).
# Prints the paths of the two .deb files, the only thing it prints on standard output.
# Install them with
#     sudo apt-get install ./build-package/rw830kt_VERSION_ARCH.deb ./build-package/rw830kt-cli_VERSION_ARCH.deb
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh build package >&2
OUT=$PWD/build-package
rm -rf "$OUT"
mkdir -p "$OUT/source"

# The files of the checkout as they are now, changes not yet committed included.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files --cached --others --exclude-standard | while IFS= read -r f; do
        [ -f "$f" ] && printf '%s\n' "$f"
    done >"$OUT/files"
else
    find . -path './build*' -prune -o -path './.git' -prune -o -type f -print >"$OUT/files"
fi
tar -cf - -T "$OUT/files" | tar -xf - -C "$OUT/source"

# The version is set twice, for CMake and for Debian; they must agree.
cmake_version=$(sed -n 's/^project(rw830kt VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
debian_version=$(dpkg-parsechangelog -l debian/changelog -S Version)
[ "$cmake_version" = "$debian_version" ] || {
    echo "package.sh: CMakeLists.txt says version $cmake_version, debian/changelog" \
        "$debian_version." >&2
    exit 1
}

# Every core compiles unless the caller says otherwise (debhelper builds on one without).
case " ${DEB_BUILD_OPTIONS:-} " in
*" parallel="*) ;;
*) DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:+$DEB_BUILD_OPTIONS }parallel=$(nproc)" ;;
esac
export DEB_BUILD_OPTIONS
(cd "$OUT/source" && dpkg-buildpackage -b -us -uc >&2)
for package in rw830kt rw830kt-cli; do
    deb=$(ls "$OUT/${package}_"*.deb 2>/dev/null) || {
        echo "package.sh: dpkg-buildpackage made no $package package." >&2
        exit 1
    }
    echo "$deb"
done
