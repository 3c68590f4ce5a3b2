#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up the machine, builds, and runs every test. With --sanitize the tests run built
# with AddressSanitizer and UndefinedBehaviorSanitizer.
set -e
cd "$(dirname "$0")/.."
# Every source, script and packaging file names its licence.
scripts/check-licence.sh
scripts/install-deps.sh build x11 network
scripts/build.sh "$@"
DIR=build
[ "$1" = "--sanitize" ] && DIR=build-sanitize
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$DIR" --output-on-failure
