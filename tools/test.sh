#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: a check that every source
# file is formatted, each fuzz target briefly, then the unit, GUI and end-to-end suites, all
# under AddressSanitizer and UndefinedBehaviorSanitizer. A compiler warning fails the build.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

# Every C++ file as .clang-format wants it.
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run -Werror "${sources[@]}"

jobs=$(nproc)
cmake --preset fuzz -DKALVO_WERROR=ON >/dev/null
cmake --build --preset fuzz -j "$jobs"
ctest --test-dir build/fuzz --output-on-failure -j "$jobs"

cmake --preset asan -DKALVO_WERROR=ON >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"
