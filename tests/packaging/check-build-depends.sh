#!/usr/bin/env bash
# The packages that scripts/install-deps.sh installs for building the game and the
# Build-Depends of debian/control name the same set: a library added to one and not the
# other breaks either the player's build or the package build on a clean machine.
# Usage: check-build-depends.sh SOURCE_DIR
set -euo pipefail
source_dir="$1"

# Build-Depends of the source paragraph, one package name a line (versions, architecture
# lists and build profiles dropped; debhelper-compat is the package build's own).
from_control="$(awk '
    /^Build-Depends:/ { on = 1; sub(/^Build-Depends:/, ""); print; next }
    on && /^[ \t]/ { print; next }
    { on = 0 }' "$source_dir/debian/control" |
    tr ',|' '\n' | sed 's/[([<].*//; s/[ \t]//g' | grep -v '^$' | grep -vx debhelper-compat | sort -u)"
# build-essential is what every Debian package build has; Build-Depends leave it out.
from_script="$(bash "$source_dir/scripts/install-deps.sh" --list build | grep -vx build-essential | sort -u)"

if [[ "$from_control" != "$from_script" ]]; then
    echo "debian/control's Build-Depends and scripts/install-deps.sh's build list differ:"
    diff <(echo "$from_control") <(echo "$from_script") |
        sed -n 's/^< /  only in debian\/control: /p; s/^> /  only in scripts\/install-deps.sh: /p'
    exit 1
fi
echo "Build-Depends and the install script's build list agree: $(tr "\n" " " <<<"$from_control")"
