#!/usr/bin/env bash
# Installs what building and testing Kalvo Multi needs on Debian 12, when it is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev clang-format git
    libgtest-dev libgmock-dev
    qt6-base-dev qt6-serialport-dev qt6-svg-dev libgl-dev
    qt6-charts-dev libqt6opengl6-dev libxkbcommon-dev
    fonts-dejavu-core fonts-liberation2
    poppler-utils
    qt6-translations-l10n
    help2man lintian desktop-file-utils appstream dpkg-dev fakeroot file pngquant
)

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
