#!/usr/bin/env bash
# The core on Windows: installs what is missing, cross-builds the core and every unit test
# program with MinGW-w64 (preset windows-cross), and runs each program under Wine in a Wine
# prefix of its own inside the build tree; the parsers' fuzz corpora are replayed there too.
# Ends with the line "windows: N passed, N failed, N skipped" (GoogleTest cases) and a non-zero
# exit on any failure. The Qt programs and txr-sim are not part of this build.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine64 wine googletest)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi

build=build/windows
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake --preset windows-cross -DKALVO_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build --preset windows-cross -j "$(nproc)"

# The same prefix as the preset's emulator: created on first use, its server kept running for
# the whole run (each program would otherwise start one) and stopped at the end.
export WINEPREFIX="$PWD/$build/wine" WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
wineserver --persistent
trap 'wineserver --kill || true' EXIT
[ -f "$WINEPREFIX/system.reg" ] || wineboot --init >/dev/null 2>&1

results="$build/results"
rm -rf "$results"
mkdir -p "$results"
# GoogleTest's summary lines: "[  PASSED  ] 20 tests.", "[  FAILED  ] 2 tests, listed below:".
count() { sed -n "s/^\[  $1 *\] \([0-9][0-9]*\) tests\?[,.].*/\1/p" "$2" | head -n 1; }
passed=0 failed=0 skipped=0
for exe in "$build"/tests/unit_*.exe; do
    name=$(basename "$exe" .exe)
    log="$results/$name.txt"
    status=0
    timeout 300 wine "$exe" --gtest_color=no >"$log" 2>&1 || status=$?
    p=$(count PASSED "$log") f=$(count FAILED "$log") s=$(count SKIPPED "$log")
    p=${p:-0} f=${f:-0} s=${s:-0}
    if ((status != 0 && f == 0)); then
        f=1  # crashed or hung before its summary: the program itself failed
        echo "$name: ended with exit code $status before its summary"
    fi
    echo "$name: $p passed, $f failed, $s skipped"
    ((f == 0)) || sed -n '/^\[  FAILED  \]/p' "$log"
    passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s))
done

# Every corpus file of every parser, under Wine.
if ! ctest --test-dir "$build" -L fuzz --output-on-failure >"$results/fuzz.txt" 2>&1; then
    failed=$((failed + 1))
    cat "$results/fuzz.txt"
fi
grep "tests passed" "$results/fuzz.txt" | sed 's/^/fuzz corpora: /' || true

echo "windows: $passed passed, $failed failed, $skipped skipped"
((failed == 0))
