#!/usr/bin/env bash
# Builds the desktop tool and renders its windows to PNG files, offscreen: the main window and
# the other windows, then the parameter dialog's page kinds (the basic page, an analog page with
# the kinked characteristic, a binary page in limit-value mode, the interface page, the widened
# wiring-picture view and a basic page with a fault).
#   tools/screenshots.sh [OUTPUT_DIR]     (default: build/screenshots)
# Set KALVO_LANG to en (or, for the dialog, dialect) for the other text sets.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
tools/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target window-screenshots param-screenshots
mkdir -p "$out"
lang=${KALVO_LANG:-de}
window_lang=$lang
[ "$window_lang" = dialect ] && window_lang=de
QT_QPA_PLATFORM=offscreen build/release/window-screenshots "$out" --lang "$window_lang"
# The wiring pictures lie beside the program; a missing one leaves its frame empty.
QT_QPA_PLATFORM=offscreen build/release/param-screenshots "$out" \
    --pictures build/release --lang "$lang"
echo "screenshots in $out"
