#!/usr/bin/env bash
# Installs a build into a temporary DESTDIR and runs the installed programs from there, from a
# folder that holds nothing of the build: the command line reads its simulated unit, writes a
# data sheet whose wiring picture comes from the installed share folder, and the desktop tool
# (offscreen) finds its pictures, product data and the guide with every picture in it. The
# desktop entry and the AppStream data are validated when the tools for it are there.
#   tests/install_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
DESTDIR=$dest cmake --install "$build" --prefix /usr >/dev/null
usr=$dest/usr
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$dest/config XDG_DATA_HOME=$dest/data
export XDG_RUNTIME_DIR=$dest/run
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$dest"

fail() {
    echo "install test: $*" >&2
    exit 1
}

# One read (9 s of the protocol's pauses at a real line's pace), kept for the data sheet.
"$usr/bin/kalvo-cli" --simulator read --output demo.cfg || fail "kalvo-cli read"
"$usr/bin/kalvo-cli" show demo.cfg | grep -q . || fail "kalvo-cli show"
"$usr/bin/kalvo-cli" datasheet demo.cfg --pdf demo.pdf || fail "kalvo-cli datasheet failed"
if command -v pdfimages >/dev/null; then
    [ "$(pdfimages -list demo.pdf | tail -n +3 | wc -l)" -ge 1 ] ||
        fail "the data sheet has no wiring picture"
fi
paths=$("$usr/bin/kalvo" --paths) || fail "kalvo --paths: a file is missing"
grep -qx "data: $usr/share/kalvo-multi" <<<"$paths" || fail "data folder: $paths"
grep -qx "guide: $usr/share/doc/kalvo-multi/user-guide.md" <<<"$paths" || fail "guide: $paths"
for program in kalvo kalvo-cli txr-sim; do
    "$usr/bin/$program" --version | grep -q "^$program (Kalvo Multi) " || fail "$program --version"
    if command -v help2man >/dev/null; then
        [ -f "$usr/share/man/man1/$program.1.gz" ] || fail "no manual page for $program"
    fi
done
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$usr"/share/applications/*.desktop || fail "desktop entry"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$usr"/share/metainfo/*.metainfo.xml >/dev/null ||
        fail "AppStream metadata"
fi
echo "install test: passed"
