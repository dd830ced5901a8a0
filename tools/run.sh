#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop tool. Without arguments it runs
# on the built-in simulated transducer; pass --port /dev/ttyUSB0 (or any device path) for
# real hardware.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target kalvo kalvo-cli txr-sim
args=("$@")
((${#args[@]})) || args=(--simulator)
exec build/release/kalvo "${args[@]}"
