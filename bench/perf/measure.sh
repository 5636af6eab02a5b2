#!/usr/bin/env bash
# Measures the real program beside a minimal Qt 6 Widgets program (reference.cpp: a frameless
# 488 x 376 window, one line of text, a 100 ms timer, and a second window on Ctrl+N) under one
# private X server (Xvfb), in the same run, and prints every figure as a ratio to the
# reference or against its goal. With two font sets, the machine's own and a desktop-sized
# one (see below): the time from start to the mapped window and to the first frame and the
# resident memory 2 s after start (the median of at least 9 starts of each program, taken in
# turns), and each dialog's first show, from the key that opens it to its window on the
# screen (the confirmation dialog and the puzzle-solved dialog, beside the reference's second
# window; the median of DIALOG_RUNS starts of each). With the machine's font set only: the
# shared libraries mapped at the first frame and 2 s after start, the processor time used
# while idling (game page with the empty board, with the pointer resting on the board, with
# the clock running; the about page) with the program's wake-ups in each, beside the
# reference with and without its timer, and the worst 10 x 10 frame of the field benchmark.
# Each start uses a fresh HOME and working directory.
#
# Peer games: PEER_GAMES holds command lines of other games installed on the machine,
# separated by ";" (for example PEER_GAMES="/usr/games/a; /usr/games/b --small"). Each whose
# program is installed is started in turn with the two programs, with each font set, and timed
# by the probe's --any-window rule (its first new top-level window, and the last change of its
# pixels before they hold still for 500 ms); the fastest median first frame is reported beside
# Tarnell's. Nothing is installed for them, and without PEER_GAMES there are none.
#
# The desktop-sized font set: the machine's own where every package desktop-fonts.sh names is
# installed; else the set desktop-fonts.sh unpacked into DESKTOP_FONTS (default
# /var/tmp/tarnell-desktop-fonts), through its fontconfig configuration; else a fontconfig
# configuration of the script's own over every font file on the machine, wherever it lies.
# The script says which it used and how many faces each set held.
#
# Usage: bench/perf/measure.sh [path/to/tarnell] [runs]
#   default program: build-rel/obj/app/tarnell, then build/app/tarnell; default runs: 3 (the
#   idle measurements of each program)
# Environment: STARTUP_RUNS (default and least 9) starts of each program and font set;
#   DIALOG_RUNS (default 5) first shows of each dialog and font set; IDLE_SECONDS (default
#   10) for each idle window; FONT_SETS (default "machine desktop"); DESKTOP_FONTS;
#   FRAME_BENCH, the FieldRendererBench program (default: bench/FieldRendererBench of the
#   program's build tree, skipped when there is none); PEER_GAMES (above).
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
source "$root/scripts/lib/xvfb.sh"
program="${1:-}"
runs="${2:-3}"
idle="${IDLE_SECONDS:-10}"
startup_runs="${STARTUP_RUNS:-9}"
((startup_runs >= 9)) || startup_runs=9
dialog_runs="${DIALOG_RUNS:-5}"
font_sets="${FONT_SETS:-machine desktop}"
desktop_fonts="${DESKTOP_FONTS:-/var/tmp/tarnell-desktop-fonts}"
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
frame_bench="${FRAME_BENCH:-$(dirname "$(dirname "$program")")/bench/FieldRendererBench}"
for tool in Xvfb xdotool import g++ pkg-config fc-list; do
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
g++ -O2 -std=c++20 "$here/firstframe.cpp" -lX11 -l:libXtst.so.6 -o "$probe"
reference="$scratch/reference"
# shellcheck disable=SC2046
g++ -O2 -std=c++20 -fPIC "$here/reference.cpp" $(pkg-config --cflags --libs Qt6Widgets) \
    -o "$reference"
reference_title="Tarnell reference"

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
# Times the threads of a process were scheduled to run (wake-ups), from the third field of
# /proc/<pid>/task/*/schedstat; "n/a" where the kernel keeps no scheduler statistics.
wakeups() {
    if [[ -r "/proc/$1/schedstat" ]]; then
        cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ n += $3 } END { print n + 0 }'
    else
        echo n/a
    fi
}
# Red, green and blue of one screen pixel, as "r,g,b" (from the "0,0: (r,g,b)" line: the
# last column of that line may be a colour name instead of numbers).
pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
        sed -n 's/^0,0: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}
# Whether a screen pixel shows a plain plate: green well above red and blue (the class of
# tests/support/PlateColours.h).
is_green() {
    IFS=, read -r r g b <<<"$(pixel "$1" "$2")"
    [[ -n "${g:-}" && "$g" -ge $((r + 24)) && "$g" -ge $((b + 24)) ]]
}
median() {
    sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) { print "n/a"; exit }
        if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
# CPU used by a process and by the X server over an idle window, and the process's wake-ups
# in it, "process_ms xvfb_ms wakeups".
idle_cpu() {
    local p0 x0 w0 p1 x1 w1
    p0="$(cpu_ms "$1")"
    x0="$(cpu_ms "$XVFB_PID")"
    w0="$(wakeups "$1")"
    sleep "$idle"
    w1="$(wakeups "$1")"
    p1="$(cpu_ms "$1")"
    x1="$(cpu_ms "$XVFB_PID")"
    echo "$(awk -v a="$p0" -v b="$p1" 'BEGIN { printf "%.1f", b - a }') $(awk -v a="$x0" -v b="$x1" 'BEGIN { printf "%.1f", b - a }') $(awk -v a="$w0" -v b="$w1" 'BEGIN { if (a == "n/a") print "n/a"; else print b - a }')"
}
# The shared objects mapped into a process, one path a line.
libraries_of() {
    awk '$6 ~ /\.so/ { print $6 }' "/proc/$1/maps" | sort -u
}
# Resident and proportional memory (KiB) of every mapped file of a process, from smaps,
# "path rss pss" a line.
library_costs() {
    awk '/^[0-9a-f]+-[0-9a-f]+ / { path = ($6 == "" ? "[anonymous]" : $6) }
         /^Rss:/ { rss[path] += $2 } /^Pss:/ { pss[path] += $2 }
         END { for (p in rss) print p, rss[p], pss[p] }' "/proc/$1/smaps"
}

# The fontconfig configuration the programs start with: empty for the machine's own.
font_config=""
# The set-up the programs start with: a board size and a fox count.
board_size=8
board_foxes=5
# Starts a program in a fresh HOME and working directory (with the set-up $board_size and
# $board_foxes foxes, $font_config) through the probe, with the probe's further options;
# prints "pid mapped_ms frame_ms libs rss_kib" (and "dialog_ms" with --dialog).
start_program() { # label executable title [probe options...]
    local home="$scratch/home-$1" work="$scratch/work-$1" runtime="$scratch/runtime-$1"
    local executable="$2" title="$3"
    shift 3
    rm -rf "$home" "$work" "$runtime"
    mkdir -p "$home/.config/Morvane" "$work" "$runtime"
    chmod 700 "$runtime"
    printf '[General]\nFin=%s\nHints=1\nLim=%s\n' "$board_size" "$board_foxes" \
        >"$home/.config/Morvane/Tarnell.conf"
    (
        cd "$work"
        [[ -n "$font_config" ]] && export FONTCONFIG_FILE="$font_config"
        HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$runtime" \
            QT_QPA_PLATFORM=xcb "$probe" --title "$title" --board "$board_size" "$@" \
            "$executable" 20000 2>/dev/null || true
    )
}
# The peer games that are installed, one command line a line, each with a wrapper script
# that the probe starts (it takes a program without arguments): peer_command[i], peer_script[i].
peer_command=()
peer_script=()
IFS=';' read -r -a peer_lines <<<"${PEER_GAMES:-}"
for line in "${peer_lines[@]}"; do
    read -r -a words <<<"$line"
    ((${#words[@]})) || continue
    if ! command -v "${words[0]}" >/dev/null; then
        echo "measure.sh: peer game \"${words[0]}\" is not installed; left out" >&2
        continue
    fi
    script="$scratch/peer-${#peer_script[@]}.sh"
    printf '#!/bin/sh\nexec %s\n' "$(printf '%q ' "${words[@]}")" >"$script"
    chmod +x "$script"
    peer_command+=("${words[*]}")
    peer_script+=("$script")
done
# Starts a peer game as start_program starts a program; prints "pid mapped_ms frame_ms libs
# rss_kib".
start_peer() { # label index
    local home="$scratch/home-$1" work="$scratch/work-$1" runtime="$scratch/runtime-$1"
    rm -rf "$home" "$work" "$runtime"
    mkdir -p "$home" "$work" "$runtime"
    chmod 700 "$runtime"
    (
        cd "$work"
        [[ -n "$font_config" ]] && export FONTCONFIG_FILE="$font_config"
        HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$runtime" \
            "$probe" --any-window 1 "${peer_script[$2]}" 20000 2>/dev/null || true
    )
}
stop_program() {
    kill "$1" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -9 "$1" 2>/dev/null || true
}
# Waits until 2 s have passed since the nanosecond instant $1.
wait_until_two_seconds() {
    sleep "$(awk -v s="$1" -v now="$(date +%s%N)" 'BEGIN { d = 2 - (now - s) / 1e9; print (d > 0 ? d : 0) }')"
}

echo "program:   $program"
echo "reference: bench/perf/reference.cpp"
echo "display: $XVFB_DISPLAY; $startup_runs starts of each, $runs idle runs of each, idle windows of $idle s"
for i in "${!peer_command[@]}"; do
    echo "peer game $((i + 1)): ${peer_command[$i]}"
done

# ---- font sets ----
# Chooses the desktop-sized font set: sets font_config and desktop_what.
choose_desktop_set() {
    local missing=0 package
    while read -r package; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing=$((missing + 1))
    done < <("$here/desktop-fonts.sh" --list)
    if ((missing == 0)); then
        font_config=""
        desktop_what="the machine's own, with every package of desktop-fonts.sh installed"
    elif [[ -r "$desktop_fonts/fonts.conf" ]]; then
        font_config="$desktop_fonts/fonts.conf"
        desktop_what="the machine's own and the packages desktop-fonts.sh unpacked into $desktop_fonts"
    else
        # Every font file on the machine, wherever it lies (documentation, TeX, Java, Python
        # packages...), beside the machine's configuration.
        font_config="$scratch/every-font.conf"
        {
            echo '<?xml version="1.0"?>'
            echo '<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">'
            echo '<fontconfig>'
            echo "  <cachedir>$scratch/font-cache</cachedir>"
            echo '  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>'
            find / -xdev \( -path /proc -o -path /sys -o -path "$scratch" \) -prune -o -type f \
                \( -iname '*.ttf' -o -iname '*.otf' -o -iname '*.ttc' -o -iname '*.otc' \
                -o -iname '*.pfb' -o -iname '*.pcf.gz' \) -printf '%h\n' 2>/dev/null | sort -u |
                sed -e 's/&/\&amp;/g; s/</\&lt;/g; s/>/\&gt;/g' -e 's|.*|  <dir>&</dir>|'
            echo '</fontconfig>'
        } >"$font_config"
        desktop_what="every font file on the machine ($missing packages of desktop-fonts.sh are neither installed nor unpacked into $desktop_fonts: run bench/perf/desktop-fonts.sh)"
    fi
}
# Faces in the current font set.
faces() {
    if [[ -n "$font_config" ]]; then
        FONTCONFIG_FILE="$font_config" fc-list | wc -l
    else
        fc-list | wc -l
    fi
}

# Sets up a font set by name: font_config, and its description in set_what.
use_font_set() {
    if [[ $1 == desktop ]]; then
        choose_desktop_set
        set_what="$desktop_what"
        # The cache is filled before anything is timed, as on a desktop that has run before.
        if [[ -n "$font_config" ]]; then
            FONTCONFIG_FILE="$font_config" fc-cache >/dev/null 2>&1 || true
        fi
    else
        font_config=""
        set_what="the machine's own"
    fi
    set_what="$set_what: $(faces) faces"
}

# Where a dialog is on the screen: a pixel of its caption bar and one of its panel, in the
# colours its first frame gives them; the reference's second window is grey all over.
confirmation_dialog=(--dialog "Warning!" --prepare "space,space" --open ctrl+n
    --check "200,12=94,141,226" --check "402,70=148,148,148")
# On a 3 x 3 board with one fox, the keys open the plates one by one from the top (the first
# space puts the keyboard there) until the fox is found.
solved_dialog=(--dialog "Congradulations!" --prepare space --open space
    --moves "Right,Right,Down,Left,Left,Down,Right,Right"
    --check "200,12=94,141,226" --check "352,55=148,148,148")
reference_dialog=(--dialog "Tarnell reference dialog" --open ctrl+n
    --check "200,12=128,128,128" --check "400,100=128,128,128")

for set in $font_sets; do
    use_font_set "$set"
    echo
    echo "font set \"$set\": $set_what"

    # ---- start-up and memory, in turns so that the machine's drift touches both alike ----
    results="$scratch/startup-$set"
    : >"$results"
    printf '%-4s %-9s %9s %9s %5s %8s %12s\n' start program mapped_ms frame_ms libs rss_kib rss_2s_kib
    for run in $(seq "$startup_runs"); do
        for which in reference tarnell $(for i in "${!peer_script[@]}"; do echo "peer$i"; done); do
            started="$(date +%s%N)"
            if [[ $which == peer* ]]; then
                read -r pid mapped frame libs rss < <(start_peer "s$run-$which" "${which#peer}")
            elif [[ $which == reference ]]; then
                read -r pid mapped frame libs rss < <(start_program "s$run-$which" "$reference" "$reference_title")
            else
                read -r pid mapped frame libs rss < <(start_program "s$run-$which" "$program" Tarnell)
            fi
            if [[ $which == peer* && ( -z "${pid:-}" || "$frame" == "-1.0" ) ]]; then
                echo "measure.sh: start $run of peer game ${peer_command[${which#peer}]}: no first frame within 20 s; left out of this start" >&2
                [[ -n "${pid:-}" ]] && stop_program "$pid"
                continue
            fi
            if [[ -z "${pid:-}" || "$frame" == "-1.0" ]]; then
                echo "measure.sh: start $run of $which: the first frame did not appear within 20 s" >&2
                exit 1
            fi
            program_pid="$pid"
            wait_until_two_seconds "$started"
            rss_later="$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")"
            stop_program "$pid"
            program_pid=""
            printf '%-4s %-9s %9s %9s %5s %8s %12s\n' "$run" "$which" "$mapped" "$frame" "$libs" "$rss" "$rss_later"
            echo "$which $mapped $frame $libs $rss $rss_later" >>"$results"
        done
    done

    # ---- each dialog's first show, from the key that opens it ----
    results="$scratch/dialogs-$set"
    : >"$results"
    printf '%-4s %-24s %9s\n' run dialog shown_ms
    for run in $(seq "$dialog_runs"); do
        for which in reference confirmation solved; do
            board_size=8
            board_foxes=5
            case $which in
            reference) read -r pid _ _ _ _ shown < <(start_program "d$run-$which" "$reference" "$reference_title" "${reference_dialog[@]}") ;;
            confirmation) read -r pid _ _ _ _ shown < <(start_program "d$run-$which" "$program" Tarnell "${confirmation_dialog[@]}") ;;
            solved)
                board_size=3
                board_foxes=1
                read -r pid _ _ _ _ shown < <(start_program "d$run-$which" "$program" Tarnell "${solved_dialog[@]}")
                ;;
            esac
            board_size=8
            board_foxes=5
            [[ -n "${pid:-}" ]] && stop_program "$pid"
            if [[ -z "${shown:-}" || "$shown" == "-1.0" ]]; then
                echo "measure.sh: run $run: the $which window did not appear" >&2
                exit 1
            fi
            printf '%-4s %-24s %9s\n' "$run" "$which" "$shown"
            echo "$which $shown" >>"$results"
        done
    done
    echo "$set_what" >"$scratch/what-$set"
done
font_config=""
first_set="${font_sets%% *}"
startup="$scratch/startup-machine"
[[ -s "$startup" ]] || startup="$scratch/startup-$first_set"

# ---- memory, libraries and idle processor time ----
idle_results="$scratch/idle"
: >"$idle_results"
echo
printf '%-4s %-9s %8s %5s %17s %17s %17s %17s\n' run program rss_kib libs "empty_board_ms" \
    "pointer_on_board" "clock_running_ms" "about_page_ms"
for run in $(seq "$runs"); do
    # The reference: memory and libraries 2 s after start, then one idle window.
    started="$(date +%s%N)"
    read -r program_pid _ _ _ _ < <(start_program "i$run-reference" "$reference" "$reference_title")
    wait_until_two_seconds "$started"
    rss="$(awk '/^VmRSS:/ { print $2 }' "/proc/$program_pid/status")"
    libraries_of "$program_pid" >"$scratch/reference-libraries"
    libs="$(wc -l <"$scratch/reference-libraries")"
    library_costs "$program_pid" >"$scratch/reference-costs"
    xdotool mousemove 2 2
    read -r ref_cpu ref_x ref_wakes < <(idle_cpu "$program_pid")
    stop_program "$program_pid"
    program_pid=""
    # The same window without its timer: what a Qt program at rest costs.
    read -r program_pid _ _ _ _ < <(REFERENCE_AT_REST=1 start_program "i$run-rest" "$reference" "$reference_title")
    wait_until_two_seconds "$started"
    read -r rest_cpu rest_x rest_wakes < <(idle_cpu "$program_pid")
    stop_program "$program_pid"
    program_pid=""
    printf '%-4s %-9s %8s %5s %8s (X %5s) %6s wake-ups; without its timer %s (X %s) %s wake-ups\n' \
        "$run" reference "$rss" "$libs" "$ref_cpu" "$ref_x" "$ref_wakes" "$rest_cpu" "$rest_x" "$rest_wakes"
    echo "reference $rss $libs $ref_cpu $ref_x $ref_wakes $rest_cpu $rest_x $rest_wakes" >>"$idle_results"

    started="$(date +%s%N)"
    read -r program_pid _ _ _ _ < <(start_program "i$run-tarnell" "$program" Tarnell)
    wait_until_two_seconds "$started"
    rss="$(awk '/^VmRSS:/ { print $2 }' "/proc/$program_pid/status")"
    libraries_of "$program_pid" >"$scratch/tarnell-libraries"
    libs="$(wc -l <"$scratch/tarnell-libraries")"
    library_costs "$program_pid" >"$scratch/tarnell-costs"

    window="$(xdotool search --onlyvisible --name '^Tarnell$' | head -n1)"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    wx=$X
    wy=$Y
    xdotool mousemove 2 2 # off the window: no hover, no animation
    read -r game_cpu game_x game_wakes < <(idle_cpu "$program_pid")

    # The pointer resting on a cell of the empty board: the cell is the current one, and
    # nothing else changes.
    xdotool mousemove $((wx + 259)) $((wy + 163))
    read -r hover_cpu hover_x hover_wakes < <(idle_cpu "$program_pid")

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
    read -r running_cpu running_x running_wakes < <(idle_cpu "$program_pid")

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
    read -r about_cpu about_x about_wakes < <(idle_cpu "$program_pid")

    xdotool key ctrl+F3
    for _ in $(seq 50); do
        kill -0 "$program_pid" 2>/dev/null || break
        sleep 0.1
    done
    stop_program "$program_pid"
    program_pid=""

    printf '%-4s %-9s %8s %5s %8s (X %5s) %8s (X %5s) %8s (X %5s) %8s (X %5s)\n' "$run" tarnell \
        "$rss" "$libs" "$game_cpu" "$game_x" "$hover_cpu" "$hover_x" "$running_cpu" "$running_x" \
        "$about_cpu" "$about_x"
    printf '%-4s %-9s %14s %17s %17s %17s %17s\n' "" "" wake-ups "$game_wakes" "$hover_wakes" \
        "$running_wakes" "$about_wakes"
    echo "tarnell $rss $libs $game_cpu $game_x $hover_cpu $hover_x $running_cpu $running_x $about_cpu $about_x $game_wakes $hover_wakes $running_wakes $about_wakes" >>"$idle_results"
done

# ---- the worst 10 x 10 frame of the field benchmark ----
frame_us="n/a"
if [[ -x "$frame_bench" ]]; then
    frame_us="$(QT_QPA_PLATFORM=offscreen "$frame_bench" --benchmark_filter='TenByTenAllUncovered$' \
        --benchmark_repetitions=9 --benchmark_report_aggregates_only=true 2>/dev/null |
        awk '/_median/ { for (i = 1; i <= NF; ++i) if ($i == "us") { print $(i - 1); exit } }')"
    [[ -n "$frame_us" ]] || frame_us="n/a"
fi

# ---- medians, ratios and goals ----
of() { # program column file
    awk -v p="$1" -v c="$2" '$1 == p { print $c }' "$3" | median
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 == 0 || a == "n/a") print "n/a"; else printf "%.2f x", a / b }'; }
verdict() { # value comparison limit
    awk -v v="$1" -v op="$2" -v l="$3" 'BEGIN { if (v == "n/a") { print "-"; exit }
        ok = (op == "<=" ? v + 0 <= l + 0 : v + 0 >= l + 0); print (ok ? "met" : "NOT MET") }'
}
ref_mapped="$(of reference 2 "$startup")"
tar_mapped="$(of tarnell 2 "$startup")"
ref_frame="$(of reference 3 "$startup")"
tar_frame="$(of tarnell 3 "$startup")"
ref_frame_libs="$(of reference 4 "$startup")"
tar_frame_libs="$(of tarnell 4 "$startup")"
ref_frame_rss="$(of reference 5 "$startup")"
tar_frame_rss="$(of tarnell 5 "$startup")"
ref_rss="$(of reference 2 "$idle_results")"
tar_rss="$(of tarnell 2 "$idle_results")"
ref_libs="$(of reference 3 "$idle_results")"
tar_libs="$(of tarnell 3 "$idle_results")"
ref_idle="$(of reference 4 "$idle_results")"
ref_idle_x="$(of reference 5 "$idle_results")"

echo
echo "medians: $startup_runs starts and $runs idle runs of each; CPU per ${idle} s (X server in brackets);"
echo "wake-ups: times the program's threads were scheduled in (reference with / without its timer)"
printf '%-44s %14s %14s %9s  %-22s %s\n' what reference tarnell ratio goal ""
row() { printf '%-44s %14s %14s %9s  %-22s %s\n' "$@"; }
# The start-up rows against their goals: a label prefix, then the reference's and the
# program's start to window mapped, start to first frame and resident memory 2 s after start.
start_rows() {
    local m f extra
    m="$(awk -v a="$3" -v b="$2" 'BEGIN { printf "%.2f", a / b }')"
    f="$(awk -v a="$5" -v b="$4" 'BEGIN { printf "%.2f", a / b }')"
    extra="$(awk -v a="$7" -v b="$6" 'BEGIN { printf "%.0f", a - b }')"
    row "${1}start to window mapped (ms)" "$2" "$3" "$m x" "at most 1.5 x" "$(verdict "$m" "<=" 1.5)"
    row "${1}start to first frame (ms)" "$4" "$5" "$f x" "at most 1.5 x" "$(verdict "$f" "<=" 1.5)"
    row "${1}resident memory 2 s after start (KiB)" "$6" "$7" "$(ratio "$7" "$6")" \
        "reference + 3072" "$(verdict "$extra" "<=" 3072) (+$extra)"
}
start_rows "" "$ref_mapped" "$tar_mapped" "$ref_frame" "$tar_frame" "$ref_rss" "$tar_rss"
row "resident memory at first frame (KiB)" "$ref_frame_rss" "$tar_frame_rss" "$(ratio "$tar_frame_rss" "$ref_frame_rss")" "" ""
row "shared libraries at first frame" "$ref_frame_libs" "$tar_frame_libs" "$(ratio "$tar_frame_libs" "$ref_frame_libs")" "only what it needs" ""
row "shared libraries 2 s after start" "$ref_libs" "$tar_libs" "$(ratio "$tar_libs" "$ref_libs")" "" ""
cpu_row() { # label program-column x-column cpu-goal x-goal
    local cpu x
    cpu="$(of tarnell "$2" "$idle_results")"
    x="$(of tarnell "$3" "$idle_results")"
    local met
    met="$(verdict "$cpu" "<=" "$4")"
    [[ -n "${5:-}" ]] && met="$met, X $(verdict "$x" "<=" "$5")"
    row "$1" "$ref_idle ($ref_idle_x)" "$cpu ($x)" "$(ratio "$cpu" "$ref_idle")" \
        "at most $4${5:+ (X $5)}" "$met"
}
cpu_row "CPU per ${idle} s, game page, empty board (ms)" 4 5 3
cpu_row "CPU, game page, pointer resting on the board" 6 7 3
cpu_row "CPU, game page, clock running (ms)" 8 9 10 3
cpu_row "CPU, about page (ms)" 10 11 10
ref_wakes="$(of reference 6 "$idle_results")"
rest_wakes="$(of reference 9 "$idle_results")"
rest_cpu="$(of reference 7 "$idle_results")"
rest_x="$(of reference 8 "$idle_results")"
row "CPU, reference without its timer (ms)" "$rest_cpu ($rest_x)" "" "" "" ""
# At most one wake-up a second on average where nothing can change on the screen.
wake_limit="$(awk -v s="$idle" 'BEGIN { print s + 0 }')"
wake_row() { # label column limit
    local wakes
    wakes="$(of tarnell "$2" "$idle_results")"
    row "$1" "$ref_wakes / $rest_wakes" "$wakes" "$(ratio "$wakes" "$ref_wakes")" \
        "${3:+at most $3}" "${3:+$(verdict "$wakes" "<=" "$3")}"
}
wake_row "wake-ups per ${idle} s, game page, empty board" 12 "$wake_limit"
wake_row "wake-ups, pointer resting on the board" 13 "$wake_limit"
wake_row "wake-ups, clock running" 14
wake_row "wake-ups, about page" 15
row "worst 10 x 10 frame, benchmark (us)" "-" "$frame_us" "" "at most 30" "$(verdict "$frame_us" "<=" 30)"

# Start, memory and the dialogs' first show with each font set.
echo
echo "by font set: medians of $startup_runs starts and $dialog_runs first shows of each program"
for set in $font_sets; do
    f="$scratch/startup-$set"
    d="$scratch/dialogs-$set"
    echo "font set \"$set\": $(cat "$scratch/what-$set")"
    start_rows "  " "$(of reference 2 "$f")" "$(of tarnell 2 "$f")" "$(of reference 3 "$f")" \
        "$(of tarnell 3 "$f")" "$(of reference 6 "$f")" "$(of tarnell 6 "$f")"
    # Each program side by side, and Tarnell's first frame against the fastest peer game's.
    printf '  %-40s %10s %12s %14s\n' program mapped_ms frame_ms rss_2s_kib
    side_row() { printf '  %-40s %10s %12s %14s\n' "$1" "$(of "$2" 2 "$f")" "$(of "$2" 3 "$f")" "$(of "$2" 6 "$f")"; }
    side_row "reference" reference
    side_row "tarnell" tarnell
    best=""
    best_frame=""
    for i in "${!peer_command[@]}"; do
        side_row "peer: ${peer_command[$i]:0:34}" "peer$i"
        frame="$(of "peer$i" 3 "$f")"
        [[ "$frame" == n/a ]] && continue
        if [[ -z "$best" ]] || awk -v a="$frame" -v b="$best_frame" 'BEGIN { exit !(a < b) }'; then
            best="$i"
            best_frame="$frame"
        fi
    done
    if [[ -n "$best" ]]; then
        peer_f="$(awk -v a="$(of tarnell 3 "$f")" -v b="$best_frame" 'BEGIN { printf "%.2f", a / b }')"
        row "  first frame: fastest peer (ref. column), tarnell" "$best_frame" "$(of tarnell 3 "$f")" \
            "$peer_f x" "before the peer's" "$(verdict "$peer_f" "<=" 1)"
    elif ((${#peer_command[@]})); then
        echo "  no peer game showed a first frame"
    fi
    ref_shown="$(of reference 2 "$d")"
    for dialog in confirmation solved; do
        shown="$(of "$dialog" 2 "$d")"
        row "  first show, $dialog dialog (ms)" "$ref_shown" "$shown" "$(ratio "$shown" "$ref_shown")" "" ""
    done
done

# What the libraries the reference does without cost the program (last run, from smaps).
echo
echo "libraries mapped 2 s after start that the reference does not map (last run), with"
echo "their resident and proportional memory (KiB):"
comm -13 "$scratch/reference-libraries" "$scratch/tarnell-libraries" | while read -r path; do
    awk -v p="$path" '$1 == p { printf "  %-60s %6s %6s\n", p, $2, $3 }' "$scratch/tarnell-costs"
done
