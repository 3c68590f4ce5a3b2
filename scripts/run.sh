#!/bin/sh
# Sets up the machine, builds, and starts the programming tool in the demo/ folder.
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
mkdir -p demo
cd demo
exec ../build/src/rw830kt
