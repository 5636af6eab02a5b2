#!/usr/bin/env bash
# A desktop-sized font set for measure.sh, without installing anything on the machine: fetches
# the Debian font packages a desktop carries (apt-get download), unpacks them into a folder
# (dpkg-deb -x) and writes there a fontconfig configuration that holds the machine's own fonts
# and these (fonts.conf: the machine's /etc/fonts/fonts.conf with the unpacked fonts and their
# configuration files added and a cache folder of its own), then fills its cache.
# measure.sh uses it through FONTCONFIG_FILE where the packages are not installed.
#
# Usage: bench/perf/desktop-fonts.sh [folder]   (default /var/tmp/tarnell-desktop-fonts)
#        bench/perf/desktop-fonts.sh --list     prints the packages, one a line
# Needs apt-get with the Debian 12 archive in its sources, dpkg-deb and fontconfig (fc-cache).
set -euo pipefail

# The families a GNOME or KDE desktop on Debian 12 pulls in (fonts-noto's whole family), the
# PostScript set (fonts-urw-base35), a programmer's monospace face and the Android fallback:
# some 2,500 faces with what the test machines have.
packages=(
    fonts-noto-core fonts-noto-extra fonts-noto-ui-core fonts-noto-ui-extra fonts-noto-mono
    fonts-noto-cjk fonts-noto-color-emoji
    fonts-urw-base35 fonts-hack fonts-droid-fallback
)

if [[ "${1:-}" == "--list" ]]; then
    printf '%s\n' "${packages[@]}"
    exit 0
fi
folder="${1:-/var/tmp/tarnell-desktop-fonts}"
for tool in apt-get dpkg-deb fc-cache; do
    command -v "$tool" >/dev/null || {
        echo "desktop-fonts.sh: $tool is not installed" >&2
        exit 2
    }
done
mkdir -p "$folder/debs" "$folder/root" "$folder/conf.d" "$folder/cache"
folder="$(cd "$folder" && pwd)"
(cd "$folder/debs" && apt-get download "${packages[@]}")
for deb in "$folder"/debs/*.deb; do
    dpkg-deb -x "$deb" "$folder/root"
done

# The machine's configuration files, then the packages' own (their links point into
# /usr/share/fontconfig, which here lies under the unpacked root).
rm -f "$folder"/conf.d/*.conf
for file in /etc/fonts/conf.d/*.conf; do
    ln -s "$(readlink -f "$file")" "$folder/conf.d/$(basename "$file")"
done
for file in "$folder"/root/etc/fonts/conf.d/*.conf; do
    [[ -e "$file" || -L "$file" ]] || continue
    target="$(readlink "$file" || true)"
    [[ "$target" == /* ]] && target="$folder/root$target" || target="$file"
    ln -sf "$target" "$folder/conf.d/$(basename "$file")"
done
sed -e "s|<include ignore_missing=\"yes\">conf.d</include>|<include ignore_missing=\"yes\">$folder/conf.d</include>|" \
    -e "s|<dir>/usr/share/fonts</dir>|<dir>/usr/share/fonts</dir>\n\t<dir>$folder/root/usr/share/fonts</dir>|" \
    -e "s|<cachedir>/var/cache/fontconfig</cachedir>|<cachedir>$folder/cache</cachedir>|" \
    /etc/fonts/fonts.conf >"$folder/fonts.conf"
FONTCONFIG_FILE="$folder/fonts.conf" fc-cache
echo "$(FONTCONFIG_FILE="$folder/fonts.conf" fc-list | wc -l) faces: FONTCONFIG_FILE=$folder/fonts.conf"
