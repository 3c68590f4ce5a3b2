#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/, then runs every one of them for the given
# number of seconds (60 when not given). Each target grows its corpus in
# build-fuzz/corpus/NAME, starting from the seeds in fuzz/corpus/NAME where there are any;
# an input that fails is kept as build-fuzz/crashes/NAME-crash-... to run again with
#   build-fuzz/fuzz/fuzz_NAME build-fuzz/crashes/NAME-crash-...
# Exit status 0 when no target found anything.
set -e
cd "$(dirname "$0")/.."
EACH=${1:-60}
case "$EACH" in
'' | *[!0-9]*)
    echo "usage: scripts/fuzz.sh [seconds per target]" >&2
    exit 2
    ;;
esac
scripts/install-deps.sh build fuzz
DIR=build-fuzz
GENERATOR=
if [ ! -f "$DIR/CMakeCache.txt" ] && command -v ninja >/dev/null 2>&1; then
    GENERATOR="-G Ninja"
fi
# shellcheck disable=SC2086
cmake -S . -B "$DIR" $GENERATOR -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DRW830KT_FUZZ=ON >/dev/null
cmake --build "$DIR" --target fuzzers --parallel "$(nproc)"
export ASAN_OPTIONS=abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$DIR/crashes"
# One target per core at a time: each fuzzes for its seconds of wall time, and a target
# uses one core, so the targets share the machine in turns of nproc.
AT_ONCE=$(nproc)
failed=
running=
# Waits for the targets started so far; notes each that found something.
collect() {
    for job in $running; do
        name=${job%%:*}
        wait "${job#*:}" || failed="$failed fuzz_$name"
        cat "$DIR/fuzz_$name.log"
    done
    running=
}
count=0
for target in "$DIR"/fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    name=${target##*/fuzz_}
    mkdir -p "$DIR/corpus/$name"
    seeds=
    [ -d "fuzz/corpus/$name" ] && seeds="fuzz/corpus/$name"
    echo "fuzz_$name: $EACH s"
    # shellcheck disable=SC2086
    "$target" -max_total_time="$EACH" -print_final_stats=1 \
        -artifact_prefix="$DIR/crashes/$name-" "$DIR/corpus/$name" $seeds >"$DIR/fuzz_$name.log" 2>&1 &
    running="$running $name:$!"
    count=$((count + 1))
    [ $((count % AT_ONCE)) -ne 0 ] || collect
done
collect
if [ -n "$failed" ]; then
    echo "found faults:$failed (inputs in $DIR/crashes)" >&2
    exit 1
fi
echo "no faults found"
