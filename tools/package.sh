#!/usr/bin/env bash
# Builds the Debian package build/kalvo-multi_<version>_amd64.deb from a release build, with
# CPack (library dependencies from dpkg-shlibdeps), then checks it: lintian must report no
# error, and the installed desktop entry and AppStream metadata must validate.
#   tools/package.sh          then: sudo apt install ./build/kalvo-multi_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
configure=(-DKALVO_WERROR=ON)
command -v ccache >/dev/null && configure+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake --preset release "${configure[@]}" >/dev/null
cmake --build --preset release -j "$(nproc)"
# The package is made as root would own its files, without needing root.
(cd build/release && cpack -G DEB -B "$PWD/../packages" >/dev/null)
deb=$(ls -t build/packages/kalvo-multi_*_*.deb | head -n 1)
cp "$deb" build/
deb=build/${deb##*/}
echo "package: $deb"

# lintian: errors fail; warnings and notes are shown.
lintian --fail-on error --tag-display-limit 0 "$deb"

# The files as they are installed.
check=$(mktemp -d)
trap 'rm -rf "$check"' EXIT
dpkg-deb -x "$deb" "$check"
desktop-file-validate "$check"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$check"/usr/share/metainfo/*.metainfo.xml
echo "package checked: $deb"
