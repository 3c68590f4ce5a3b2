#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Compile-checks the Windows sources that need no Qt with the MinGW cross compiler: a tiny
# Windows program that prints the port list, and the network line's socket options. CI runs
# it in place of scripts/check-windows.sh when no Qt for MinGW is at hand to build the rest.
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh windows
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT
cat >"$OUT/listports.cpp" <<'CPP'
#include "link/ports/portrecords.h"
#include <cstdio>
int main()
{
    for (const std::string &name : rw::windowsPortNames(rw::readPortDeviceRecords()).names)
        std::printf("%s\n", name.c_str());
}
CPP
x86_64-w64-mingw32-g++ -std=c++20 -Wall -Wextra -Werror -Isrc -o "$OUT/listports.exe" \
    "$OUT/listports.cpp" src/link/ports/portrecords.cpp src/link/ports/windowsportrecords.cpp \
    -lsetupapi -static
echo "The Windows port-listing source compiles and links."
x86_64-w64-mingw32-g++ -std=c++20 -Wall -Wextra -Werror -Isrc -c -o "$OUT/socketoptions.o" \
    src/link/line/socketoptions_windows.cpp
echo "The Windows socket options compile."
