#!/usr/bin/env bash
# Plays one whole game of the real program under valgrind's memcheck on a private X server
# (Xvfb): a 3 x 3 field with one fox, every still-plain cell clicked until the fox is found,
# a name typed into the puzzle-solved dialog and stored with OK, a look at the high-score,
# confirmation and donation dialogs and the about page, then Ctrl+F3. Then sorts every
# error and leak that valgrind reports into ours (one of its innermost frames in our
# sources) and the system's, and fails when any of them is ours.
#
# Usage: scripts/valgrind-game.sh [path/to/tarnell]
#   default program: build-rel/obj/app/tarnell, then build/app/tarnell (build with debug
#   information, e.g. -DCMAKE_BUILD_TYPE=RelWithDebInfo, so that our frames have file names)
# Environment: KEEP_LOG=path copies the full valgrind log there.
# Exit status: 0 nothing of ours, 1 something of ours (or the game could not be played),
#              2 a tool or the program is missing.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/.." && pwd)"
source "$here/lib/xvfb.sh"
program="${1:-}"
if [[ -z "$program" ]]; then
    for candidate in "$root/build-rel/obj/app/tarnell" "$root/build/app/tarnell"; do
        if [[ -x "$candidate" ]]; then
            program="$candidate"
            break
        fi
    done
fi
if [[ -z "$program" || ! -x "$program" ]]; then
    echo "valgrind-game.sh: no tarnell executable found; pass its path as the first argument" >&2
    exit 2
fi
program="$(cd "$(dirname "$program")" && pwd)/$(basename "$program")"
for tool in valgrind Xvfb xdotool import; do
    command -v "$tool" >/dev/null || {
        echo "valgrind-game.sh: $tool is not installed" >&2
        exit 2
    }
done

scratch="$(mktemp -d /tmp/tarnell-valgrind-XXXXXX)"
valgrind_pid=""
log=""
cleanup() {
    [[ -n "$valgrind_pid" ]] && kill "$valgrind_pid" 2>/dev/null || true
    xvfb_stop
    rm -rf "$scratch"
}
trap cleanup EXIT

say() { echo "[$(date +%T)] $*"; }
fail() {
    echo "valgrind-game.sh: $*" >&2
    [[ -n "${log:-}" && -f "$log" && -n "${KEEP_LOG:-}" ]] && cp "$log" "$KEEP_LOG"
    exit 1
}

xvfb_start 301 "$scratch/xvfb.log" || { echo "valgrind-game.sh: no X server" >&2; exit 2; }

home="$scratch/home"
work="$scratch/work"
mkdir -p "$home/.config/Morvane" "$work" "$scratch/runtime"
chmod 700 "$scratch/runtime"
printf '[General]\nFin=3\nHints=1\nLim=1\n' >"$home/.config/Morvane/Tarnell.conf"

suppressions=()
[[ -f "$here/valgrind-system.supp" ]] && suppressions=(--suppressions="$here/valgrind-system.supp")
say "starting $program under valgrind on $XVFB_DISPLAY"
(cd "$work" && exec env HOME="$home" XDG_CONFIG_HOME="$home/.config" \
    XDG_RUNTIME_DIR="$scratch/runtime" QT_QPA_PLATFORM=xcb \
    valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite,possible \
    --errors-for-leak-kinds=definite --num-callers=40 --track-origins=yes \
    --fullpath-after= "${suppressions[@]}" --log-file="$scratch/valgrind.%p.log" "$program") &
valgrind_pid=$!
# The program keeps valgrind's process id; a child that it forks (the sound system may try
# to start a server) reports into a log of its own.
log="$scratch/valgrind.$valgrind_pid.log"

# Waits up to $2 seconds for a visible window titled exactly $1; prints its id.
wait_window() {
    local deadline=$((SECONDS + $2)) id
    while ((SECONDS < deadline)); do
        id="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)"
        [[ -n "$id" ]] && { echo "$id"; return 0; }
        kill -0 "$valgrind_pid" 2>/dev/null || return 1
        sleep 0.5
    done
    return 1
}
pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
        sed -n 's/^0,0: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}
# A plain plate: green well above red and blue, nothing opened or proven fox-free on it (the
# amber and cyan plates and the grey ground are not).
is_plain() {
    IFS=, read -r r g b <<<"$(pixel "$1" "$2")"
    [[ -n "${g:-}" ]] && ((g >= r + 24 && g >= b + 24))
}

main_window="$(wait_window Tarnell 180)" ||
    fail "the main window did not appear within 180 s (or the program ended; see the log)"
eval "$(xdotool getwindowgeometry --shell "$main_window")"
wx=$X
wy=$Y
say "main window $main_window at $wx,$wy"
# The field area lies at (59, 67) in the window; cell (i, j) has its centre at
# (200 + 20 (j - 1) - 20 (i - 1), 26 + 10 (i - 1) + 10 (j - 1)) in it.
cell_x() { echo $((wx + 59 + 200 + 20 * ($2 - 1) - 20 * ($1 - 1))); }
cell_y() { echo $((wy + 67 + 26 + 10 * ($1 - 1) + 10 * ($2 - 1))); }
# A point of the field area off the board, so that no plate shows the pointer.
park() { xdotool mousemove $((wx + 64)) $((wy + 72)); }

# Every cell waits for the empty board to be drawn first.
for _ in $(seq 120); do
    is_plain "$(cell_x 1 1)" "$(cell_y 1 1)" && break
    sleep 0.5
done
is_plain "$(cell_x 1 1)" "$(cell_y 1 1)" || fail "the board was not drawn within 60 s"

solved=""
clicks=0
for i in 1 2 3; do
    for j in 1 2 3; do
        [[ -n "$solved" ]] && break 2
        park
        sleep 0.5
        # Opened cells and those the hints prove fox-free are not plain any more: skip them.
        is_plain "$(cell_x "$i" "$j")" "$(cell_y "$i" "$j")" || continue
        say "click cell ($i, $j)"
        xdotool mousemove "$(cell_x "$i" "$j")" "$(cell_y "$i" "$j")"
        sleep 0.5
        xdotool click 1
        clicks=$((clicks + 1))
        park
        # The move shows on the next tick; under valgrind that takes a while.
        for _ in $(seq 60); do
            if xdotool search --onlyvisible --name '^Congradulations!$' >/dev/null 2>&1; then
                solved=yes
                break
            fi
            is_plain "$(cell_x "$i" "$j")" "$(cell_y "$i" "$j")" || break
            sleep 0.5
        done
    done
done
dialog="$(wait_window 'Congradulations!' 60)" ||
    fail "the puzzle-solved dialog did not appear after $clicks clicks"
say "solved after $clicks clicks; dialog $dialog"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
dx=$X
dy=$Y
sleep 3 # the dialog plays its sound one second after it opens
# The name box has the focus when a best result was beaten (fewer than 8 steps on 3 x 1);
# typing into a dialog without one changes nothing.
xdotool type --delay 120 "Valgrind"
sleep 1
# OK lies at (136, 190) on the panel at (48, 32): its centre is at (232, 234).
xdotool mousemove $((dx + 232)) $((dy + 234))
sleep 0.5
xdotool click 1
for _ in $(seq 120); do
    xdotool search --onlyvisible --name '^Congradulations!$' >/dev/null 2>&1 || break
    sleep 0.5
done
xdotool search --onlyvisible --name '^Congradulations!$' >/dev/null 2>&1 &&
    fail "the puzzle-solved dialog did not close after OK (a message box may have reported a failure)"
if [[ -s "$work/h_fame.dat" ]]; then
    say "hall of fame stored: $(stat -c %s "$work/h_fame.dat") bytes"
    grep -q Valgrind "$work/h_fame.dat" || say "note: the name is not in the file (no best was beaten)"
else
    say "note: the hall of fame is empty (no best was beaten in $clicks steps)"
fi

# More of the program for the leak check: the high-score dialog ("Score", at (89, 334) in
# the window), closed with its caption button, and the about page with its animation.
xdotool mousemove $((wx + 89)) $((wy + 334))
sleep 0.5
xdotool click 1
if score="$(wait_window Highscore 60)"; then
    eval "$(xdotool getwindowgeometry --shell "$score")"
    sleep 2
    xdotool mousemove $((X + WIDTH - 27)) $((Y + 12))
    sleep 0.5
    xdotool click 1
    sleep 2
else
    say "note: the high-score dialog did not open"
fi
# "Start new game" (89, 310) twice: the second time a puzzle is running and the
# confirmation dialog asks; its "Yes" (152, 88) makes the new puzzle.
click_at() {
    xdotool mousemove "$1" "$2"
    sleep 0.5
    xdotool click 1
}
click_at $((wx + 89)) $((wy + 310))
sleep 2
click_at $((wx + 89)) $((wy + 310))
if confirm="$(wait_window 'Warning!' 60)"; then
    eval "$(xdotool getwindowgeometry --shell "$confirm")"
    sleep 2
    click_at $((X + 152)) $((Y + 88))
    sleep 2
else
    say "note: the confirmation dialog did not open"
fi
# "Donate" (161, 334), and the donation dialog's OK (200, 228).
click_at $((wx + 161)) $((wy + 334))
if donation="$(wait_window Donation 60)"; then
    eval "$(xdotool getwindowgeometry --shell "$donation")"
    sleep 2
    click_at $((X + 200)) $((Y + 228))
    sleep 2
else
    say "note: the donation dialog did not open"
fi
xdotool mousemove $((wx + 200)) $((wy + 10))
xdotool windowfocus "$main_window" 2>/dev/null || true
sleep 1
xdotool key ctrl+F2
sleep 3
xdotool key ctrl+F1
sleep 2
xdotool key ctrl+F3
say "Ctrl+F3 sent; waiting for valgrind to finish"
status=""
for _ in $(seq 240); do
    if ! kill -0 "$valgrind_pid" 2>/dev/null; then
        wait "$valgrind_pid" && status=0 || status=$?
        break
    fi
    sleep 0.5
done
[[ -n "$status" ]] || fail "the program did not end within 120 s of Ctrl+F3"
valgrind_pid=""
say "program ended with status $status"
[[ -n "${KEEP_LOG:-}" ]] && cp "$log" "$KEEP_LOG"

# Every error and leak record is a block of lines between two empty ones. It is ours when
# one of its innermost frames (the first 8) lies in our sources, in the build tree (the
# generated moc code) or in the program itself:
# deeper frames of ours are only the callers of a library that did the allocating, such as
# main() below every allocation that Qt makes while it starts.
sources="$root"
cache="$(dirname "$(dirname "$program")")/CMakeCache.txt"
if [[ -f "$cache" ]]; then
    home_dir="$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$cache")"
    [[ -n "$home_dir" ]] && sources="$home_dir"
fi
report="$scratch/report"
awk -v src="$sources/" -v build="$(dirname "$(dirname "$program")")/" -v exe="$program" -v depth=8 '
    function flush() {
        if (block != "" && kind != "") {
            owner = (ours ? "OURS" : "system")
            count[owner]++
            if (ours) print "---- " kind "\n" block > "/dev/stderr"
            summary[owner] = summary[owner] "  " kind ": " first "\n"
        }
        block = ""; kind = ""; ours = 0; first = ""; frames = 0
    }
    { line = $0; sub(/^==[0-9]+== ?/, "", line) }
    line == "" { flush(); next }
    {
        if (block == "") {
            if (line ~ /are definitely lost|are possibly lost/) kind = "leak"
            else if (line ~ /^(Invalid|Conditional jump|Use of uninitialised|Syscall param|Mismatched|Source and destination|Argument|Jump to)/) kind = "error"
            first = line
        }
        block = block line "\n"
        if (line ~ /(at|by) 0x/) {
            frames++
            if (frames <= depth && (index(line, src) > 0 || index(line, build) > 0 || index(line, "(in " exe ")") > 0)) ours = 1
        }
    }
    END { flush()
        printf "valgrind findings owned by our code: %d, by system libraries: %d\n", count["OURS"] + 0, count["system"] + 0
        if (summary["OURS"] != "") printf "ours:\n%s", summary["OURS"]
        if (summary["system"] != "") printf "system:\n%s", summary["system"]
    }' "$log" >"$report" 2>"$scratch/ours"
echo
grep -E 'ERROR SUMMARY|definitely lost:|indirectly lost:|possibly lost:|still reachable:|suppressed:' "$log" |
    sed 's/^==[0-9]*== */  /'
cat "$report"
if [[ -s "$scratch/ours" ]]; then
    echo
    echo "stacks of the findings in our code:"
    cat "$scratch/ours"
    exit 1
fi
exit 0
