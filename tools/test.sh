#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the unit, GUI and
# end-to-end suites, then each fuzz target briefly under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

jobs=$(nproc)
cmake --preset debug >/dev/null
cmake --build --preset debug -j "$jobs"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
ctest --test-dir build/fuzz --output-on-failure -j "$jobs"

ctest --preset debug -j "$jobs"
