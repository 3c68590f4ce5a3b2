#!/bin/sh
# Builds the program, the simulator and the tests into build/ (or build-sanitize/ with
# --sanitize: AddressSanitizer and UndefinedBehaviorSanitizer).
set -e
cd "$(dirname "$0")/.."
DIR=build
FLAGS="-DCMAKE_BUILD_TYPE=RelWithDebInfo"
if [ "$1" = "--sanitize" ]; then
    DIR=build-sanitize
    FLAGS="-DCMAKE_BUILD_TYPE=Debug -DRW830KT_SANITIZE=ON"
fi
cmake -S . -B "$DIR" -G Ninja $FLAGS >/dev/null
cmake --build "$DIR"
