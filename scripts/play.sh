#!/usr/bin/env bash
# Installs what is missing, builds Tarnell in release mode and starts it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DTARNELL_BUILD_TESTS=OFF -DTARNELL_BUILD_BENCH=OFF
cmake --build "$root/build" -j"$(nproc)" --target tarnell
exec "$root/build/app/tarnell"
