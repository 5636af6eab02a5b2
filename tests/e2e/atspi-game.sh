#!/bin/sh
# Runs atspi_game.py in a private D-Bus session with Debian's own python3 (the one that has
# pyatspi), under a time limit that also reaches every process it started.
# Usage: atspi-game.sh --program path/to/tarnell      Exit status 77: skipped.
set -eu
for tool in dbus-run-session timeout /usr/bin/python3; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done
exec timeout --kill-after=10 240 \
    dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/atspi_game.py" "$@"
