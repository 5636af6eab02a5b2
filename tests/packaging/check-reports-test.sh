#!/usr/bin/env bash
# The test command's last check, on reports made here: it passes two whole runs, and fails an
# empty run, a run with fewer tests than the other, and a skipped test.
set -uo pipefail
gate="$1/scripts/lib/check-reports.sh"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
# report FILE COUNT [STATUS-OF-THE-LAST] [EXTRA-TEST]
report() {
    {
        echo "<testsuite name=\"(empty)\" tests=\"$2\">"
        for i in $(seq 1 "$2"); do
            status=run
            [ "$i" -eq "$2" ] && status="${3:-run}"
            echo "<testcase name=\"Suite.Case$i\" classname=\"Suite.Case$i\" status=\"$status\">"
            echo "</testcase>"
        done
        [ -z "${4:-}" ] || echo "<testcase name=\"$4\" classname=\"$4\" status=\"run\"></testcase>"
        echo "</testsuite>"
    } >"$dir/$1"
}
report release.xml 700 run Packaging.DebianPackageBuildsInstallsAndStarts
report sanitizer.xml 700
report empty.xml 0
report fewer.xml 699
report skipped.xml 700 notrun
failures=0
expect() { # STATUS RELEASE SANITIZER
    bash "$gate" "$dir/$2" "$dir/$3" >"$dir/out" 2>&1
    local status=$?
    if [ "$status" -ne "$1" ]; then
        echo "the gate on $2 and $3 ended with $status, not $1:" && cat "$dir/out"
        failures=$((failures + 1))
    fi
}
expect 0 release.xml sanitizer.xml
expect 1 empty.xml empty.xml
expect 1 release.xml empty.xml
expect 1 release.xml fewer.xml
expect 1 fewer.xml release.xml
expect 1 release.xml skipped.xml
exit "$failures"
