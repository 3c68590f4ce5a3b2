#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up the machine, builds, and runs every test. With --sanitize the tests run built
# with AddressSanitizer and UndefinedBehaviorSanitizer; with --tsan the tests named in
# scripts/tsan-tests.txt (the link, the parallel runner, the command line) run built with
# ThreadSanitizer; with --loaded the tests run beside two CPU-bound processes of the same
# priority, which it starts and ends itself, as on a busy machine. Arguments after the
# option go to ctest (`scripts/test.sh --loaded -L 'core|link'` runs the core's and the
# link's tests; each test is labelled by its folder in tests/, the X server runs by x11).
set -e
cd "$(dirname "$0")/.."
MODE=
case "$1" in
--sanitize | --tsan | --loaded)
    MODE=$1
    shift
    ;;
esac
# Every source, script and packaging file names its licence.
scripts/check-licence.sh
scripts/install-deps.sh build x11 network
if [ "$MODE" = "--loaded" ]; then
    scripts/build.sh
else
    scripts/build.sh ${MODE:+"$MODE"}
fi
DIR=build
[ "$MODE" = "--sanitize" ] && DIR=build-sanitize
# Most tests wait on a paced line or a virtual X server rather than compute, so twice as
# many run at once as there are cores (the X tests take turns among themselves).
JOBS=$(($(nproc) * 2))
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
if [ "$MODE" = "--tsan" ]; then
    # Qt's libraries are not built with ThreadSanitizer: scripts/tsan.supp names the
    # reports that come from inside them, and why. A report in the project's own code
    # fails the test (halt_on_error), in the test and in every process it starts.
    # die_after_fork=0: the tests start the simulator and rw830kt-cli with QProcess while
    # Qt's own threads run; the child only calls exec, which ThreadSanitizer allows.
    export TSAN_OPTIONS="suppressions=$PWD/scripts/tsan.supp halt_on_error=1 second_deadlock_stack=1 die_after_fork=0"
    ctest --test-dir build-tsan --output-on-failure --parallel "$JOBS" \
        -R "^($(grep -v '^#' scripts/tsan-tests.txt | tr ' ' '|'))\$" "$@"
    exit
fi
if [ "$MODE" = "--loaded" ]; then
    # Two processes that only compute, at this script's own priority: a test that
    # counts on the scheduler to run it "soon enough" fails here.
    LOAD=
    trap 'kill $LOAD 2>/dev/null' EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    for _ in 1 2; do
        sh -c 'while :; do :; done' &
        LOAD="$LOAD $!"
    done
    echo "Running the tests beside two CPU-bound processes:$LOAD"
fi
ctest --test-dir "$DIR" --output-on-failure --parallel "$JOBS" "$@"
