#!/usr/bin/env bash
# Installs every Debian package that the build, the tests, the packaging and the demo need.
# Idempotent.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6serialport6-dev qt6-serialport-dev
    libgl-dev libgtest-dev googletest
    clang libclang-rt-14-dev
    fonts-liberation
    xvfb xauth poppler-utils x11-utils imagemagick
    qt6-translations-l10n ccache
    dpkg-dev file appstream desktop-file-utils man-db
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run as root: apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}"
