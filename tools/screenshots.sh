#!/usr/bin/env bash
# Builds the desktop tool and renders its windows to PNG files, offscreen: the main window and
# the other windows (the user guide's window too), then the parameter dialog's page kinds (the
# basic page, an analog page with the kinked characteristic, a binary page in limit-value mode,
# the interface page, the widened wiring-picture view and a basic page with a fault).
#   tools/screenshots.sh [OUTPUT_DIR]     (default: build/screenshots)
#   tools/screenshots.sh --docs           German and English into docs/images/de and /en for
#                                         the user guide, as palette PNGs under 100 kB each
# Set KALVO_LANG to en (or, for the dialog, dialect) for the other text sets, and
# KALVO_BUILD_DIR to render with a build that exists already (e.g. build/debug).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KALVO_BUILD_DIR:-build/release}
if [ -z "${KALVO_BUILD_DIR:-}" ]; then
    tools/setup.sh
    cmake --preset release >/dev/null
fi
cmake --build "$build" --target window-screenshots param-screenshots

render() {  # OUTPUT_DIR LANG
    local out=$1 lang=$2 window_lang=$2
    mkdir -p "$out"
    [ "$window_lang" = dialect ] && window_lang=de
    QT_QPA_PLATFORM=offscreen "$build"/window-screenshots "$out" --lang "$window_lang"
    # The wiring pictures lie beside the program; a missing one leaves its frame empty.
    QT_QPA_PLATFORM=offscreen "$build"/param-screenshots "$out" \
        --pictures "$build" --lang "$lang"
}

if [ "${1:-}" = --docs ]; then
    for lang in de en; do
        out=docs/images/$lang
        rm -f "$out"/*.png
        render "$out" "$lang" >/dev/null
        # 256 colours are plenty for windows: a tenth of the size, the text as sharp.
        pngquant --force --skip-if-larger --strip --ext .png 256 "$out"/*.png || true
        for png in "$out"/*.png; do
            size=$(stat -c %s "$png")
            ((size < 100000)) || { echo "screenshots: $png is $size bytes" >&2; exit 1; }
        done
    done
    echo "screenshots in docs/images/de and docs/images/en"
    exit 0
fi

out=${1:-build/screenshots}
render "$out" "${KALVO_LANG:-de}"
echo "screenshots in $out"
