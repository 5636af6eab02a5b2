#!/usr/bin/env bash
# Installs what is missing (the game's packages and the test tools), builds Tarnell with its
# tests and runs the whole suite headless: once in a release build, which also builds and
# checks the Debian package, then once more in a build with AddressSanitizer and
# UndefinedBehaviorSanitizer, where any finding fails the run. Warnings are errors here.
# It ends by counting the tests that did not run in either build and fails if any did not (a
# test that skips here can never fail), and fails a run that lost tests.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh" test
export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"
# Recompiles of unchanged sources (the package build compiles the game once more) come
# from the compiler cache.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

echo "== Release build and tests"
cmake -S "$root" -B "$root/build-test" -DCMAKE_BUILD_TYPE=Release -DTARNELL_WERROR=ON "${launcher[@]}"
cmake --build "$root/build-test" -j"$jobs"
(cd "$root/build-test" && ctest --output-on-failure --no-tests=error -j"$jobs" --output-junit "$root/build-test/ctest-report.xml")

echo "== Sanitizer build and tests"
cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTARNELL_SANITIZE=ON -DTARNELL_BUILD_BENCH=OFF -DTARNELL_WERROR=ON "${launcher[@]}"
cmake --build "$root/build-sanitize" -j"$jobs"
supp="$root/scripts/sanitizers"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:halt_on_error=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$supp/ubsan.supp"
(cd "$root/build-sanitize" && ctest --output-on-failure --no-tests=error -j"$jobs" --output-junit "$root/build-sanitize/ctest-report.xml")

echo "== Tests that did not run"
bash "$root/scripts/lib/check-reports.sh" "$root/build-test/ctest-report.xml" \
    "$root/build-sanitize/ctest-report.xml"
