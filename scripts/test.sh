#!/usr/bin/env bash
# Installs what is missing, builds Tarnell with its tests and runs the whole suite headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
cmake -S "$root" -B "$root/build-test" -DCMAKE_BUILD_TYPE=Release
cmake --build "$root/build-test" -j"$(nproc)"
cd "$root/build-test"
ctest --output-on-failure -j"$(nproc)"
