# shellcheck shell=bash
# A private X server (Xvfb) for the scripts that run the real program: sourced, not run.
#
#   source scripts/lib/xvfb.sh
#   xvfb_start 140 "$scratch/xvfb.log" || exit 2   # first display number to try, server log
#   trap xvfb_stop EXIT                            # (or call it from the script's own trap)
#
# xvfb_start picks the first display number from the given one on that has no lock file,
# starts Xvfb there (1024 x 768 x 24, no TCP, -noreset), and returns once the server's lock
# file names it and a client gets through; it exports DISPLAY and sets XVFB_PID and
# XVFB_DISPLAY. Another program may take the same number between the choice and the start:
# then it tries the next free number, up to five times. On failure it prints the server's
# log and the reason to standard error and returns 1.
# Needs xdotool (the client that checks the server answers).

XVFB_PID=""
XVFB_DISPLAY=""
XVFB_SCREEN="${XVFB_SCREEN:-1024x768x24}"

# Whether a client gets through to $DISPLAY within 10 s while the server runs.
xvfb_answers() {
    local _
    for _ in $(seq 100); do
        xdotool getmouselocation >/dev/null 2>&1 && return 0
        kill -0 "$XVFB_PID" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# Asks the server to stop and waits for it: asked, it removes its lock file and socket;
# killed, it could not.
xvfb_stop() {
    [[ -n "$XVFB_PID" ]] || return 0
    kill "$XVFB_PID" 2>/dev/null || true
    local _
    for _ in $(seq 30); do
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
}

xvfb_start() {
    local first="${1:-140}" log="${2:-/dev/null}" n attempt
    command -v Xvfb >/dev/null || { echo "Xvfb is not installed (package xvfb)" >&2; return 1; }
    command -v xdotool >/dev/null || { echo "xdotool is not installed" >&2; return 1; }
    n="$first"
    for attempt in 1 2 3 4 5; do
        while [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]]; do
            n=$((n + 1))
            if ((n > first + 200)); then
                echo "no free X display number from :$first on" >&2
                return 1
            fi
        done
        XVFB_DISPLAY=":$n"
        Xvfb "$XVFB_DISPLAY" -screen 0 "$XVFB_SCREEN" -nolisten tcp -noreset >>"$log" 2>&1 &
        XVFB_PID=$!
        export DISPLAY="$XVFB_DISPLAY"
        # The server writes its lock file before it takes connections; it is ours when the
        # lock file names it.
        local _
        for _ in $(seq 50); do
            [[ -s /tmp/.X$n-lock ]] && break
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        if [[ "$(tr -d ' \n' </tmp/.X"$n"-lock 2>/dev/null)" == "$XVFB_PID" ]] && xvfb_answers; then
            return 0
        fi
        echo "X server on $XVFB_DISPLAY (attempt $attempt) did not start as ours; trying another number" >&2
        xvfb_stop
        n=$((n + 1))
    done
    [[ "$log" != /dev/null && -f "$log" ]] && cat "$log" >&2
    echo "the X server did not start" >&2
    XVFB_DISPLAY=""
    return 1
}
