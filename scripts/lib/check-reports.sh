#!/usr/bin/env bash
# The end of the test command: reads CTest's JUnit reports of the release and the sanitizer
# run and fails unless every test ran in both, each run held at least the floor's count of
# tests, and both ran the same tests apart from the Debian package test, which only the
# release build has. A run that lost tests (none discovered, a test program that listed
# none) would otherwise pass with nothing skipped.
#     check-reports.sh RELEASE_REPORT SANITIZER_REPORT
set -euo pipefail
# Well below the suite's count (666 and 665 when this was written), far above any run that
# lost a test program. Raise it as the suite grows; lower it only with a merge of tests.
floor="${TARNELL_MIN_TESTS:-600}"
package_test="Packaging.DebianPackageBuildsInstallsAndStarts"

# The names of the tests a report holds, one a line; with `skipped`, those that did not run
# (CTest reports a GoogleTest skip, or a script's exit status 77, as not run).
names() {
    local pattern='<testcase '
    [ "${2:-}" = skipped ] && pattern='<testcase .*status="(notrun|disabled)"'
    # A parameterised test's name ends with its printed parameter, which may hold an address
    # that differs from run to run; the test is the same one.
    grep -E "$pattern" "$1" | sed -E 's/.*<testcase name="([^"]*)".*/\1/; s/  # GetParam\(\) = .*//' || true
}

# The first ten of a list of names, and how many more there are.
some() {
    local count
    count="$(printf '%s\n' "$1" | grep -c .)"
    printf '%s\n' "$1" | head -10 | paste -sd' '
    [ "$count" -le 10 ] || echo "and $((count - 10)) more"
}

failed=0
skipped=0
for report in "$1" "$2"; do
    if [ ! -f "$report" ]; then
        echo "FAILED: there is no report $report" >&2
        exit 1
    fi
    total="$(names "$report" | grep -c . || true)"
    not_run="$(names "$report" skipped)"
    count="$(printf '%s' "$not_run" | grep -c . || true)"
    echo "$report: $count of $total tests skipped${not_run:+: $(echo "$not_run" | paste -sd, | sed 's/,/, /g')}"
    skipped=$((skipped + count))
    if [ "$total" -lt "$floor" ]; then
        echo "FAILED: $report holds $total tests, fewer than the $floor a whole run has" >&2
        failed=1
    fi
done
echo "$skipped tests skipped"
if [ "$skipped" -ne 0 ]; then
    echo "FAILED: every test must run here" >&2
    failed=1
fi

release_only="$(comm -23 <(names "$1" | grep -vxF "$package_test" | sort) <(names "$2" | sort))"
sanitizer_only="$(comm -13 <(names "$1" | sort) <(names "$2" | sort))"
if [ -n "$release_only$sanitizer_only" ]; then
    echo "FAILED: the two runs did not run the same tests" >&2
    [ -z "$release_only" ] || echo "  only in the release run: $(some "$release_only")" >&2
    [ -z "$sanitizer_only" ] || echo "  only in the sanitizer run: $(some "$sanitizer_only")" >&2
    failed=1
fi
exit "$failed"
