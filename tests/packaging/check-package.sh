#!/usr/bin/env bash
# Builds the Debian package from a copy of the source tree with dpkg-buildpackage, then
# checks it as a player would get it: its files and dependencies (dpkg-deb), Debian's
# package checker (lintian, no error and no warning), and the installed game, unpacked
# into a scratch root, started with its menu entry's command on a private X server.
#
# Usage: check-package.sh SOURCE_DIR WORK_DIR
# Environment: JOBS (default 2) parallel compile jobs of the package build.
# Exit status: 0 passed, 1 failed, 77 skipped (dpkg-buildpackage is not installed).
set -euo pipefail

source_dir="$(cd "$1" && pwd)"
work="$2"
jobs="${JOBS:-2}"

say() { echo "== $*"; }
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

if ! command -v dpkg-buildpackage >/dev/null; then
    echo "SKIPPED: dpkg-buildpackage is not installed (Debian's dpkg-dev); the package is not built" \
        "(scripts/install-deps.sh test installs it)"
    exit 77
fi
for tool in dh lintian dpkg-deb Xvfb xdotool import xprop; do
    command -v "$tool" >/dev/null ||
        fail "$tool is not installed; scripts/install-deps.sh test installs the packaging and X tools"
done
source "$source_dir/scripts/lib/xvfb.sh"

version="$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Version)"
package="$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Source)"
arch="$(dpkg-architecture -q DEB_HOST_ARCH)"

# The build tree keeps the same path from run to run, so that the compiler cache finds the
# objects of the last run (the build flags name the source directory).
mkdir -p "$work"
work="$(cd "$work" && pwd)"
tree="$work/$package-$version"
rm -rf "$tree" "$work"/*.deb "$work"/*.changes "$work"/*.buildinfo "$work/root" "$work/run"
mkdir -p "$tree"

say "copying the source tree to $tree"
if git -C "$source_dir" rev-parse --show-toplevel >/dev/null 2>&1; then
    # Tracked and new files as they stand in the working tree; nothing ignored (build trees).
    (cd "$source_dir" && git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' f; do [[ -e "$f" ]] && printf '%s\0' "$f"; done |
        tar --null -T - -cf -) | tar -xf - -C "$tree"
else
    tar -C "$source_dir" --exclude='./build*' --exclude=./.git -cf - . | tar -xf - -C "$tree"
fi

say "dpkg-buildpackage -us -uc -b (log: $work/build.log)"
started=$SECONDS
launcher=()
command -v ccache >/dev/null && launcher=(CMAKE_CXX_COMPILER_LAUNCHER=ccache)
if ! (cd "$tree" && env "${launcher[@]}" DEB_BUILD_OPTIONS="parallel=$jobs nocheck" \
    dpkg-buildpackage -us -uc -b) >"$work/build.log" 2>&1; then
    tail -n 60 "$work/build.log" >&2
    fail "dpkg-buildpackage failed (full log: $work/build.log)"
fi
echo "built in $((SECONDS - started)) s"
deb="$work/${package}_${version}_${arch}.deb"
changes="$work/${package}_${version}_${arch}.changes"
[[ -f "$deb" ]] || fail "no $deb after the build"
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"

say "files of the package"
dpkg-deb -c "$deb" | awk '{ print $1, $6 }' | sed 's| \./| /|' >"$work/contents"
# Directories end in "/"; the rest are files (and no links are expected).
grep -v '/$' "$work/contents" >"$work/files" || true
cat "$work/files"
expected=(
    /usr/games/tarnell
    /usr/share/applications/org.morvane.Tarnell.desktop
    /usr/share/metainfo/org.morvane.Tarnell.metainfo.xml
    /usr/share/man/man6/tarnell.6.gz
    /usr/share/doc/tarnell/copyright
    /usr/share/doc/tarnell/changelog.gz
)
for size in 16 32 64 128 256; do
    expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/org.morvane.Tarnell.png")
done
for file in "${expected[@]}"; do
    grep -qx -- "[-rwx]* $file" "$work/files" || fail "the package lacks $file"
done
extra="$(awk '{ print $2 }' "$work/files" | grep -vxF -f <(printf '%s\n' "${expected[@]}") || true)"
[[ -z "$extra" ]] || fail "the package holds files it should not: $extra"
executables="$(awk '$1 ~ /x/ { print $2 }' "$work/files")"
[[ "$executables" == /usr/games/tarnell ]] ||
    fail "the only program in the package must be /usr/games/tarnell; found: $executables"
if grep -Ei 'test|bench|fuzz|generator|renderframe|lcdfont|tarnell-icons' "$work/files"; then
    fail "test, benchmark or tool files in the package"
fi

say "dependencies"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
names="$(tr ',|' '\n' <<<"$depends" | sed 's/(.*//; s/ //g' | grep -v '^$')"
if grep -- '-dev$' <<<"$names"; then
    fail "the package depends on development packages"
fi
# Every library that the installed program loads comes from a package it depends on.
mkdir -p "$work/root"
dpkg -x "$deb" "$work/root"
program="$work/root/usr/games/tarnell"
ldconfig -p >"$work/libraries"
while read -r soname; do
    path="$(awk -v so="$soname" '$1 == so && !found { print $NF; found = 1 }' "$work/libraries")"
    [[ -n "$path" ]] || fail "the program needs $soname, which no installed package provides"
    # The owner as dpkg recorded the path: with or without /usr (merged /usr), or the
    # file a link points to.
    owner=""
    for candidate in "$path" "${path#/usr}" "/usr$path" "$(readlink -f "$path")"; do
        owner="$(dpkg -S "$candidate" 2>/dev/null | head -n1 | cut -d: -f1 || true)"
        [[ -n "$owner" ]] && break
    done
    [[ -n "$owner" ]] || fail "no package owns $path ($soname)"
    grep -qx -- "$owner" <<<"$names" || fail "the program needs $soname of $owner, which Depends lacks"
done < <(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }')
grep -qx fonts-liberation <<<"$names" || fail "Depends lacks the font the game draws its texts with"
# Without Qt's Wayland platform a Wayland desktop runs the game through XWayland unasked.
recommends="$(dpkg-deb -f "$deb" Recommends)"
echo "Recommends: $recommends"
tr ',|' '\n' <<<"$recommends" | sed 's/(.*//; s/ //g' | grep -qx qt6-wayland ||
    fail "Recommends lacks qt6-wayland, Qt's Wayland platform (Recommends: ${recommends:-none})"

say "lintian"
lintian_status=0
lintian --fail-on error,warning --display-info "$changes" >"$work/lintian.log" 2>&1 || lintian_status=$?
cat "$work/lintian.log"
((lintian_status == 0)) || fail "lintian reports errors or warnings (status $lintian_status)"
if grep -E '^[EW]: ' "$work/lintian.log"; then
    fail "lintian reports errors or warnings"
fi

say "the installed game, started with its menu entry's command"
entry="$work/root/usr/share/applications/org.morvane.Tarnell.desktop"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "desktop-file-validate rejects the menu entry"
fi
command_line="$(sed -n 's/^Exec=//p' "$entry")"
[[ -n "$command_line" ]] || fail "the menu entry has no Exec line"
# The menu starts the game with the desktop's PATH, which holds /usr/games, in the home
# directory; here the scratch root's /usr/games stands first.
run="$work/run"
home="$run/home"
mkdir -p "$home" "$run/runtime"
chmod 700 "$run/runtime"
export PATH="$work/root/usr/games:$PATH"
resolved="$(command -v "${command_line%% *}" || true)"
[[ "$resolved" == "$program" ]] ||
    fail "the menu entry's command '$command_line' does not start the packaged program (found: ${resolved:-nothing})"
xvfb_start 420 "$run/xvfb.log" || fail "no X server"
game_pid=""
cleanup() {
    [[ -n "$game_pid" ]] && kill "$game_pid" 2>/dev/null || true
    xvfb_stop
}
trap cleanup EXIT
# shellcheck disable=SC2086 # the Exec line is a command with its arguments
(cd "$home" && exec env HOME="$home" XDG_CONFIG_HOME="$home/.config" \
    XDG_RUNTIME_DIR="$run/runtime" QT_QPA_PLATFORM=xcb $command_line) >"$run/game.log" 2>&1 &
game_pid=$!
window=""
for _ in $(seq 300); do
    window="$(xdotool search --onlyvisible --name '^Tarnell$' 2>/dev/null | head -n1 || true)"
    [[ -n "$window" ]] && break
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
done
if [[ -z "$window" ]]; then
    cat "$run/game.log" >&2
    fail "the installed game showed no window titled Tarnell within 30 s"
fi
eval "$(xdotool getwindowgeometry --shell "$window")"
[[ "$WIDTH x $HEIGHT" == "488 x 376" ]] || fail "the main window is $WIDTH x $HEIGHT, not 488 x 376"
# The top plate of the empty board is drawn from the images inside the program: a green plate
# (green well above red and blue, as the other tests tell a covered plate; the grey ground
# behind the board has all three equal).
is_plain_plate() { [[ -n "${g:-}" ]] && ((g >= r + 24 && g >= b + 24)); }
plate=""
for _ in $(seq 100); do
    plate="$(import -window root -crop "1x1+$((X + 259))+$((Y + 93))" -depth 8 txt:- 2>/dev/null |
        sed -n 's/^0,0: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p')"
    read -r r g b <<<"$plate"
    is_plain_plate && break
    sleep 0.1
done
is_plain_plate ||
    fail "the board's top plate is not drawn (pixel: ${plate:-none})"
echo "main window $WIDTH x $HEIGHT at $X,$Y; top plate $plate"
# Task bars and docks link the window to its menu entry by the entry's file name: on X11
# through WM_CLASS (on Wayland the app_id, checked by the Wayland end-to-end test).
entry_name="$(basename "$entry" .desktop)"
wm_class="$(xprop -id "$window" WM_CLASS 2>/dev/null || true)"
echo "$wm_class"
grep -qF "\"$entry_name\"" <<<"$wm_class" ||
    fail "the window's WM_CLASS does not name the menu entry $entry_name (seen: ${wm_class:-none})"
startup_class="$(sed -n 's/^StartupWMClass=//p' "$entry")"
[[ -z "$startup_class" ]] || grep -qF "\"$startup_class\"" <<<"$wm_class" ||
    fail "the menu entry's StartupWMClass=$startup_class is not the window's WM_CLASS ($wm_class)"
xdotool windowfocus "$window" 2>/dev/null || true
sleep 0.5
xdotool key ctrl+F3
status=""
for _ in $(seq 100); do
    if ! kill -0 "$game_pid" 2>/dev/null; then
        wait "$game_pid" && status=0 || status=$?
        break
    fi
    sleep 0.1
done
game_pid=""
[[ "$status" == 0 ]] || fail "the game did not end cleanly on Ctrl+F3 (status: ${status:-still running})"
[[ -f "$home/.config/Morvane/Tarnell.conf" ]] ||
    fail "the game kept no settings in \$HOME/.config/Morvane/Tarnell.conf when it quit"
echo "quit with Ctrl+F3; settings kept in \$HOME/.config/Morvane/Tarnell.conf"
say "the package passed: $deb"
