#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the programs and the tests into build/; with --sanitize into build-sanitize/
# (AddressSanitizer and UndefinedBehaviorSanitizer); with --tsan the threaded, link and
# command-line tests with ThreadSanitizer into build-tsan/. scripts/package.sh builds the
# Debian packages with Debian's own tools instead.
set -e
cd "$(dirname "$0")/.."
DIR=build
FLAGS="-DCMAKE_BUILD_TYPE=RelWithDebInfo"
TARGETS=
case "$1" in
--sanitize)
    DIR=build-sanitize
    FLAGS="-DCMAKE_BUILD_TYPE=Debug -DRW830KT_SANITIZE=ON"
    ;;
--tsan)
    DIR=build-tsan
    FLAGS="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DRW830KT_TSAN=ON"
    TARGETS="--target $(grep -v "^#" scripts/tsan-tests.txt) rw830kt-cli rw830kt_txsim"
    ;;
esac
# A folder configured before keeps the generator it was made with (Ninja or Makefiles);
# a new one gets Ninja where it is installed.
GENERATOR=
if [ -f "$DIR/CMakeCache.txt" ]; then
    echo "Building in $DIR/ with its $(sed -n 's/^CMAKE_GENERATOR:INTERNAL=//p' "$DIR/CMakeCache.txt") build files."
elif command -v ninja >/dev/null 2>&1; then
    GENERATOR="-G Ninja"
fi
# shellcheck disable=SC2086
cmake -S . -B "$DIR" $GENERATOR $FLAGS >/dev/null
# shellcheck disable=SC2086
cmake --build "$DIR" --parallel "$(nproc)" $TARGETS
