#!/usr/bin/env bash
# Runs a command with a private PulseAudio sound server, as a user's desktop would have one:
# its own home and runtime folder, so it never meets the user's own server or another run's,
# and one null output whose monitor can be recorded. PULSE_SERVER tells the command where it
# is. The server is stopped when the command ends, however it ends.
#
#   scripts/with-audio-server.sh COMMAND [ARGS...]
set -euo pipefail

audio_home=$(mktemp -d)
audio_runtime=$(mktemp -d)
chmod 700 "$audio_runtime"
stop_audio_server() {
    local pid_file=$audio_runtime/pulse/pid
    if [ -s "$pid_file" ]; then
        kill "$(cat "$pid_file")" 2>/dev/null || true
    fi
    rm -rf "$audio_home" "$audio_runtime"
}
trap stop_audio_server EXIT

# No start-up script: only the native protocol and a null output, never suspended when idle,
# so what is played is recorded from its first frame.
HOME=$audio_home XDG_RUNTIME_DIR=$audio_runtime pulseaudio -D -n --exit-idle-time=-1 \
    --log-target=file:"$audio_runtime/server.log" \
    --load=module-native-protocol-unix --load="module-null-sink sink_name=pucktally_null" \
    2>/dev/null

export PULSE_SERVER=unix:$audio_runtime/pulse/native
for _ in $(seq 300); do # a loaded machine may take a while
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
pactl info >/dev/null

set +e
"$@"
status=$?
set -e
exit $status
