#!/usr/bin/env bash
# Installs the Debian 12 packages that Tarnell needs, skipping the apt-get calls when
# everything is already there.
#
# Usage: scripts/install-deps.sh play    what building and running the game needs
#        scripts/install-deps.sh test    that, and the tools of the test suite on top
#        scripts/install-deps.sh --list play|test|build
#                                        prints a set, one package a line, and installs nothing
set -euo pipefail

# Building the game. debian/control's Build-Depends name the same packages (less
# build-essential, which every Debian build has); the packaging test checks that they agree.
build=(
    build-essential cmake pkg-config
    qt6-base-dev
    libsndfile1-dev libasound2-dev libfontconfig-dev
)
# Running it: the faces that stand in for the game's "MS Sans Serif", and the sound decoder
# and output, which the game opens only once the first frame is on the screen.
run=(
    fonts-liberation fonts-dejavu-core
    libsndfile1 libasound2
)
# Only for the test suite (scripts/test.sh): unit tests, benchmarks, the private X server
# and its tools, the Debian package build with its checker, the screen reader's view (the
# AT-SPI bus, the pyatspi client and a private D-Bus session), the screen reader itself with
# its speech server, the voice it speaks with by default (espeak-ng, which also times what a
# player by ear hears), the small window manager it needs beside the game, two Wayland
# compositors nested in the private X server (Weston, and mutter, GNOME's) with Qt's Wayland
# platform for the game on Wayland, and a private sound server: PipeWire with its session
# manager, its ALSA plug-in and its PulseAudio server, PulseAudio's ALSA plug-in and client
# tools. (PulseAudio's own server cannot be installed beside PipeWire's ALSA plug-in.
# Installed, that plug-in is ALSA's default; with no server running, a sound does nothing.)
test_only=(
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xdotool imagemagick x11-utils
    weston mutter qt6-wayland
    dpkg-dev debhelper fakeroot lintian desktop-file-utils
    at-spi2-core python3-pyatspi dbus-daemon dbus-bin
    orca speech-dispatcher espeak-ng openbox
    pipewire wireplumber pipewire-alsa pipewire-pulse pulseaudio-utils libasound2-plugins
)

set_name="${2:-}"
listing=""
if [[ "${1:-}" == "--list" ]]; then
    listing=yes
else
    set_name="${1:-}"
fi
case "$set_name" in
build) packages=("${build[@]}") ;;
play) packages=("${build[@]}" "${run[@]}") ;;
test) packages=("${build[@]}" "${run[@]}" "${test_only[@]}") ;;
*)
    echo "usage: $0 play|test, or $0 --list play|test|build" >&2
    exit 2
    ;;
esac
if [[ -n "$listing" ]]; then
    printf '%s\n' "${packages[@]}"
    exit 0
fi

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
