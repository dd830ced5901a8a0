#!/bin/sh
# Runs the benchmarks of an existing build and prints their figures. Builds nothing.
#   bench/run.sh BUILD_DIR
set -eu
build=${1:?usage: bench/run.sh BUILD_DIR}
build=$(cd "$build" && pwd)
export LC_ALL=C
export KALVO_TXR_SIM="$build/txr-sim"
export KALVO_CLI="$build/kalvo-cli"
# Keep the programs' settings away from the user's own.
XDG_CONFIG_HOME=$(mktemp -d)
export XDG_CONFIG_HOME
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT

status=0
for bench in "$build"/bench/bench_*; do
    [ -f "$bench" ] && [ -x "$bench" ] || continue
    echo "== $(basename "$bench")"
    "$bench" || status=1
done
exit $status
