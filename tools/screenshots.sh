#!/usr/bin/env bash
# Builds the desktop tool and renders the parameter dialog's page kinds to PNG files,
# offscreen: the basic page, an analog page with the kinked characteristic, a binary page in
# limit-value mode, the interface page, the widened wiring-picture view and a basic page
# with a fault.
#   tools/screenshots.sh [OUTPUT_DIR]     (default: build/screenshots)
# Set KALVO_LANG to en or dialect for the other text sets.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
cmake --preset release >/dev/null
cmake --build --preset release --target param-screenshots
mkdir -p "$out"
# The wiring pictures lie beside the program; a missing one leaves its frame empty.
QT_QPA_PLATFORM=offscreen build/release/param-screenshots "$out" \
    --pictures build/release --lang "${KALVO_LANG:-de}"
echo "screenshots in $out"
