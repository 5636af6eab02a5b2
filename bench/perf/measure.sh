#!/usr/bin/env bash
# Measures the real program under a private X server (Xvfb): the time from start to the
# first frame on the screen, the resident memory after start, and the processor time used
# while it idles on the game page (empty board, then a running puzzle whose clock ticks) and
# on the about page. Each run uses a fresh HOME and working directory; the medians of all
# runs are printed at the end.
#
# Usage: bench/perf/measure.sh [path/to/tarnell] [runs]
#   default program: build-rel/obj/app/tarnell, then build/app/tarnell; default runs: 5
# Environment: IDLE_SECONDS (default 10) for each idle window.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
source "$root/scripts/lib/xvfb.sh"
program="${1:-}"
runs="${2:-5}"
idle="${IDLE_SECONDS:-10}"
if [[ -z "$program" ]]; then
    for candidate in "$root/build-rel/obj/app/tarnell" "$root/build/app/tarnell"; do
        if [[ -x "$candidate" ]]; then
            program="$candidate"
            break
        fi
    done
fi
if [[ -z "$program" || ! -x "$program" ]]; then
    echo "measure.sh: no tarnell executable found; pass its path as the first argument" >&2
    exit 2
fi
program="$(cd "$(dirname "$program")" && pwd)/$(basename "$program")"
for tool in Xvfb xdotool import g++; do
    command -v "$tool" >/dev/null || {
        echo "measure.sh: $tool is not installed" >&2
        exit 2
    }
done

scratch="$(mktemp -d /tmp/tarnell-perf-XXXXXX)"
program_pid=""
cleanup() {
    [[ -n "$program_pid" ]] && kill "$program_pid" 2>/dev/null || true
    xvfb_stop
    rm -rf "$scratch"
}
trap cleanup EXIT

probe="$scratch/firstframe"
g++ -O2 -std=c++20 "$here/firstframe.cpp" -lX11 -o "$probe"

xvfb_start 140 "$scratch/xvfb.log" || { echo "measure.sh: no X server" >&2; exit 2; }

clock_ticks="$(getconf CLK_TCK)"
# Processor time of a process, all its threads, in milliseconds: from the scheduler's
# nanosecond counters (/proc/<pid>/task/*/schedstat) where the kernel has them, else from
# user plus system time in /proc/<pid>/stat (resolution: one clock tick, usually 10 ms).
cpu_ms() {
    if [[ -r "/proc/$1/schedstat" ]]; then
        cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { printf "%.1f\n", ns / 1e6 }'
    else
        awk -v hz="$clock_ticks" '{ sub(/.*\) /, ""); print ($12 + $13) * 1000 / hz }' "/proc/$1/stat"
    fi
}
# Red, green and blue of one screen pixel, as "r,g,b" (from the "0,0: (r,g,b)" line: the
# last column of that line may be a colour name instead of numbers).
pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
        sed -n 's/^0,0: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}
is_green() {
    IFS=, read -r r g b <<<"$(pixel "$1" "$2")"
    [[ -n "${g:-}" && "$g" -ge 100 && "$r" -lt 64 && "$b" -lt 64 ]]
}
median() {
    sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) { print "n/a"; exit }
        if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
# CPU used by the program and by the X server over an idle window, "program_ms xvfb_ms".
idle_cpu() {
    local p0 x0 p1 x1
    p0="$(cpu_ms "$program_pid")"
    x0="$(cpu_ms "$XVFB_PID")"
    sleep "$idle"
    p1="$(cpu_ms "$program_pid")"
    x1="$(cpu_ms "$XVFB_PID")"
    echo "$(awk -v a="$p0" -v b="$p1" 'BEGIN { printf "%.1f", b - a }') $(awk -v a="$x0" -v b="$x1" 'BEGIN { printf "%.1f", b - a }')"
}

results="$scratch/results"
: >"$results"
echo "program: $program"
echo "display: $XVFB_DISPLAY, $runs runs, idle windows of $idle s"
printf '%-4s %9s %9s %8s %18s %18s %18s\n' run mapped_ms frame_ms rss_kib \
    "game_cpu_ms" "running_cpu_ms" "about_cpu_ms"
for run in $(seq "$runs"); do
    home="$scratch/home$run"
    work="$scratch/work$run"
    mkdir -p "$home/.config" "$work" "$scratch/runtime$run"
    chmod 700 "$scratch/runtime$run"
    # Fixed set-up so that every run draws the same 8 x 8 board with 5 foxes.
    mkdir -p "$home/.config/Morvane"
    printf '[General]\nFin=8\nHints=1\nLim=5\n' >"$home/.config/Morvane/Tarnell.conf"

    started="$(date +%s%N)"
    read -r program_pid mapped frame < <(cd "$work" && HOME="$home" \
        XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$scratch/runtime$run" \
        QT_QPA_PLATFORM=xcb "$probe" "$program" 20000 2>/dev/null || true)
    if [[ -z "${program_pid:-}" || "$frame" == "-1.0" ]]; then
        echo "measure.sh: run $run: the first frame did not appear within 20 s" >&2
        exit 1
    fi

    # Resident memory about 2 s after start.
    sleep "$(awk -v s="$started" -v now="$(date +%s%N)" 'BEGIN { d = 2 - (now - s) / 1e9; print (d > 0 ? d : 0) }')"
    rss="$(awk '/^VmRSS:/ { print $2 }' "/proc/$program_pid/status")"

    window="$(xdotool search --onlyvisible --name '^Tarnell$' | head -n1)"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    wx=$X
    wy=$Y
    xdotool mousemove 2 2 # off the window: no hover, no animation

    read -r game_cpu game_x < <(idle_cpu)

    # A running puzzle: the first click generates it and opens the top cell; the clock ticks.
    # (The pointer then rests on the field off the board, so that the cell shows its own
    # colour and not the pointer's cyan.)
    xdotool mousemove $((wx + 259)) $((wy + 93)) click 1
    xdotool mousemove $((wx + 64)) $((wy + 72))
    for _ in $(seq 50); do
        is_green $((wx + 259)) $((wy + 93)) || break
        sleep 0.1
    done
    if is_green $((wx + 259)) $((wy + 93)); then
        echo "measure.sh: run $run: the click on the top cell did not start a puzzle" >&2
        exit 1
    fi
    xdotool mousemove 2 2
    read -r running_cpu running_x < <(idle_cpu)

    # The about page: the field is no longer drawn.
    xdotool windowfocus "$window" 2>/dev/null || true
    xdotool key ctrl+F2
    for _ in $(seq 50); do
        is_green $((wx + 259)) $((wy + 233)) || break
        sleep 0.1
    done
    if is_green $((wx + 259)) $((wy + 233)); then
        echo "measure.sh: run $run: the about page did not appear after Ctrl+F2" >&2
        exit 1
    fi
    read -r about_cpu about_x < <(idle_cpu)

    xdotool key ctrl+F3
    for _ in $(seq 50); do
        kill -0 "$program_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill "$program_pid" 2>/dev/null || true
    program_pid=""

    printf '%-4s %9s %9s %8s %8s (X %5s) %8s (X %5s) %8s (X %5s)\n' "$run" "$mapped" "$frame" \
        "$rss" "$game_cpu" "$game_x" "$running_cpu" "$running_x" "$about_cpu" "$about_x"
    echo "$run $mapped $frame $rss $game_cpu $running_cpu $about_cpu $game_x $running_x $about_x" >>"$results"
done

column_median() { awk -v c="$1" '{ print $c }' "$results" | median; }
echo
echo "medians of $runs runs:"
echo "  window mapped after start:          $(column_median 2) ms"
echo "  first frame (plates drawn):         $(column_median 3) ms"
echo "  resident memory 2 s after start:    $(column_median 4) KiB"
echo "  CPU over ${idle} s, game page, empty board: $(column_median 5) ms (X server $(column_median 8) ms)"
echo "  CPU over ${idle} s, game page, clock running: $(column_median 6) ms (X server $(column_median 9) ms)"
echo "  CPU over ${idle} s, about page:              $(column_median 7) ms (X server $(column_median 10) ms)"
