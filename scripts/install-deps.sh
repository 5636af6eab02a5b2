#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Tarnell need,
# skipping the apt-get calls when everything is already there.
set -euo pipefail
packages=(
    build-essential cmake pkg-config
    qt6-base-dev libgl-dev libsndfile1-dev libasound2-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation fonts-dejavu-core
    xvfb xdotool imagemagick x11-utils
)
# Tests only: the screen reader's view (AT-SPI bus, pyatspi client, private D-Bus session).
packages+=(at-spi2-core python3-pyatspi dbus-daemon dbus-bin)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    SUDO=""
    [[ $(id -u) -ne 0 ]] && SUDO="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq "${missing[@]}"
fi
