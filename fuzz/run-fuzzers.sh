#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer and the sanitizers, and runs each for a
# bounded time, one after the other, in a single process each.
#
#   fuzz/run-fuzzers.sh [SECONDS] [TARGET...]
#
# SECONDS is the time per target (default 60); the targets default to all of them.
# Environment: TARNELL_FUZZ_BUILD (build folder, default build-fuzz at the top of the
# repository), TARNELL_FUZZ_JOBS (build jobs, default 2).
# The corpus each run grows lives in the build folder, seeded from fuzz/corpus/<target>;
# an input that fails is written to <build>/fuzz/artifacts/<target>/ and the script ends
# with status 1. Every run adds a line to <build>/fuzz/runs.tsv.
set -euo pipefail

ALL_TARGETS=(hall_of_fame_fuzzer lcd_charset_fuzzer wave_fuzzer settings_fuzzer)

usage() {
    sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'
    echo "Targets: ${ALL_TARGETS[*]}"
}

seconds=60
if [[ $# -gt 0 ]]; then
    if [[ $1 == -h || $1 == --help ]]; then
        usage
        exit 0
    fi
    if ! [[ $1 =~ ^[0-9]+$ ]] || [[ $1 -eq 0 ]]; then
        echo "run-fuzzers.sh: the time per target must be a whole number of seconds above 0, not \"$1\"" >&2
        exit 2
    fi
    seconds=$1
    shift
fi
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
    targets=("${ALL_TARGETS[@]}")
fi
for target in "${targets[@]}"; do
    if [[ " ${ALL_TARGETS[*]} " != *" $target "* ]]; then
        echo "run-fuzzers.sh: no fuzz target \"$target\"; there are: ${ALL_TARGETS[*]}" >&2
        exit 2
    fi
done

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TARNELL_FUZZ_BUILD:-$root/build-fuzz}
jobs=${TARNELL_FUZZ_JOBS:-2}

# Largest input per target: a few dozen records, a character set of a few hundred glyphs,
# the longer of the two sounds, a settings file of a few lines.
max_len() {
    case $1 in
    hall_of_fame_fuzzer) echo 2048 ;;
    lcd_charset_fuzzer) echo 8192 ;;
    wave_fuzzer) echo 65536 ;;
    settings_fuzzer) echo 2048 ;;
    esac
}

# clang and libFuzzer's runtime, from Debian's packages when missing.
can_link_fuzzer() {
    local probe
    probe=$(mktemp -d)
    printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' \
        >"$probe/probe.cpp"
    clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" >/dev/null 2>&1
    local status=$?
    rm -rf "$probe"
    return $status
}
if ! command -v clang++ >/dev/null || ! can_link_fuzzer; then
    echo "Installing clang and libFuzzer's runtime (clang, libclang-rt-14-dev)..."
    sudo_cmd=()
    [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get install -y clang libclang-rt-14-dev
    can_link_fuzzer || { echo "run-fuzzers.sh: clang still cannot link a libFuzzer program" >&2; exit 1; }
fi

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DTARNELL_FUZZ=ON \
    -DTARNELL_BUILD_TESTS=OFF -DTARNELL_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs" --target "${targets[@]}"

# The targets write their scratch files many times a second: keep them in memory.
if [[ -z ${TMPDIR:-} && -d /dev/shm && -w /dev/shm ]]; then
    export TMPDIR=/dev/shm
fi

status=0
mkdir -p "$build/fuzz/logs"
[[ -f $build/fuzz/runs.tsv ]] ||
    printf 'date\ttarget\tseconds run\texecutions\tcorpus files\tresult\n' >"$build/fuzz/runs.tsv"
for target in "${targets[@]}"; do
    corpus=$build/fuzz/corpus/$target
    artifacts=$build/fuzz/artifacts/$target
    log=$build/fuzz/logs/$target.log
    mkdir -p "$corpus" "$artifacts"
    echo "== $target for ${seconds}s (log: $log)"
    started=$SECONDS
    set +e
    # A single fuzzing process; new inputs go to the build's corpus, the seeds are read only.
    (cd "$build/fuzz" && "./$target" "$corpus" "$root/fuzz/corpus/$target" \
        -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=30 -max_len="$(max_len "$target")" \
        -print_final_stats=1 -artifact_prefix="$artifacts/") >"$log" 2>&1
    result=$?
    set -e
    elapsed=$((SECONDS - started))
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    files=$(find "$corpus" -type f | wc -l)
    if [[ $result -eq 0 ]]; then
        outcome=clean
    else
        outcome="failed (status $result), see $artifacts"
        status=1
        grep -m 5 -E 'ERROR|check failed|SUMMARY' "$log" || true
    fi
    echo "   ${elapsed}s, ${executions:-?} executions, corpus $files files: $outcome"
    printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$(date -u +%FT%TZ)" "$target" "$elapsed" \
        "${executions:-?}" "$files" "$outcome" >>"$build/fuzz/runs.tsv"
done
exit $status
