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
OPTIMIZE=
TARGETS=
case "$1" in
# The sanitizers' builds optimize a little (as the sanitizers advise) and keep line tables
# for their reports, not full debug information: they compile far faster. The sanitizers'
# tests keep Q_ASSERT (a debug build); the benchmark, which no test runs, is left out.
--sanitize)
    DIR=build-sanitize
    FLAGS="-DCMAKE_BUILD_TYPE=Debug -DRW830KT_SANITIZE=ON -DRW830KT_BENCHMARK=OFF"
    OPTIMIZE="-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1"
    ;;
--tsan)
    DIR=build-tsan
    FLAGS="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DRW830KT_TSAN=ON"
    OPTIMIZE="-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG"
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
cmake -S . -B "$DIR" $GENERATOR $FLAGS ${OPTIMIZE:+"$OPTIMIZE"} >/dev/null
# shellcheck disable=SC2086
cmake --build "$DIR" --parallel "$(nproc)" $TARGETS
