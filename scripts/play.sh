#!/usr/bin/env bash
# Installs what building and running the game needs, builds Tarnell in release mode (the
# game alone: no tests, benchmarks or tools, and warnings stay warnings) and starts it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh" play
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release \
    -DTARNELL_BUILD_TESTS=OFF -DTARNELL_BUILD_BENCH=OFF -DTARNELL_BUILD_TOOLS=OFF
cmake --build "$root/build" -j"$(nproc)" --target tarnell
exec "$root/build/app/tarnell"
