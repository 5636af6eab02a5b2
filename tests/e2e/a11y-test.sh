#!/bin/sh
# Runs one of the accessibility tests (atspi_game.py, orca_game.py) in a private D-Bus session
# with Debian's own python3 (the one that has pyatspi), under a time limit that also reaches
# every process it started.
# Usage: a11y-test.sh SCRIPT.py --program path/to/tarnell [more options]   Exit status 77: skipped.
set -eu
script="$1"
shift
for tool in dbus-run-session timeout /usr/bin/python3; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done
exec timeout --kill-after=10 240 \
    dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/$script" "$@"
