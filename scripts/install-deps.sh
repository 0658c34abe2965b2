#!/usr/bin/env bash
# The one list of Debian packages that building, playing and testing need.
# Installs only what is missing; uses sudo when not run as root.
set -euo pipefail

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-serialport-dev libgl-dev libx11-dev libsdl2-mixer-dev libjpeg62-turbo-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-dejavu-core fonts-dejavu-extra
    xvfb xauth
    python3 xdotool imagemagick
    clang libclang-rt-14-dev # clang with libFuzzer, for the fuzz targets
    file lintian desktop-file-utils appstream # the .deb and its checks
)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
