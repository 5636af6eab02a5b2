#!/usr/bin/env bash
# Runs a command (measure.sh, say) beside a private sound server, as a desktop player has one:
# its own D-Bus session, PipeWire with a null sink, and WirePlumber. The game's ALSA default
# reaches it through pipewire-alsa, found by PIPEWIRE_RUNTIME_DIR whatever runtime folder each
# start is given, so that the game's sound output opens and stays open.
#     bench/perf/with-sound-server.sh bench/perf/measure.sh build/app/tarnell 1
set -euo pipefail
for tool in dbus-daemon pipewire wireplumber pw-cli; do
    command -v "$tool" >/dev/null || { echo "with-sound-server.sh: $tool is not installed" >&2; exit 2; }
done
runtime="$(mktemp -d /tmp/tarnell-sound-server-XXXXXX)"
chmod 700 "$runtime"
pids=()
finish() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$runtime"
}
trap finish EXIT
export XDG_RUNTIME_DIR="$runtime"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime/bus"
unset PIPEWIRE_REMOTE PULSE_SERVER
dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" >/dev/null 2>&1 &
pids+=($!)
pipewire >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    pw-cli info 0 >/dev/null 2>&1 && break
    sleep 0.1
done
wireplumber >/dev/null 2>&1 &
pids+=($!)
pw-cli create-node adapter '{ factory.name=support.null-audio-sink node.name=measure-sink
    media.class=Audio/Sink object.linger=true audio.position=[FL FR] }' >/dev/null
sleep 1
PIPEWIRE_RUNTIME_DIR="$runtime" "$@"
