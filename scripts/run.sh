#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up the machine, builds, and starts the programming tool in the demo/ folder,
# connected to the transmitter simulator: the simulator names its port in the demo's
# settings file, so the port list offers it first. Press F4 to write, F3 to read.
# The simulator keeps its memory in demo/transmitter.tbl and stops with the program.
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
scripts/build.sh
mkdir -p demo
cd demo
LOAD=
[ -f transmitter.tbl ] && LOAD="--load transmitter.tbl"
SIMOUT=$(mktemp)
# shellcheck disable=SC2086
../build/tools/rw830kt_txsim --baud 19200 $LOAD --save transmitter.tbl \
    --settings-file RW830KT2485E.ini >"$SIMOUT" &
SIM=$!
trap 'kill "$SIM" 2>/dev/null; rm -f "$SIMOUT"' EXIT
trap 'exit 130' INT TERM
i=0
while [ ! -s "$SIMOUT" ]; do
    i=$((i + 1))
    if [ "$i" -gt 100 ] || ! kill -0 "$SIM" 2>/dev/null; then
        echo "The transmitter simulator did not start." >&2
        exit 1
    fi
    sleep 0.1
done
echo "Transmitter simulator on $(head -n 1 "$SIMOUT")"
../build/src/rw830kt
