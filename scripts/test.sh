#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: widget tests on the
# offscreen platform, the few that need a real X server on a private Xvfb display, the few
# that need a real audio server on a private PulseAudio server.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

# A private X server on the first free display; it tells us which one it took. -noreset keeps
# it from resetting when its last client leaves, which would refuse a client connecting then.
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true; rm -f "$display_file"' EXIT
for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
done
export DISPLAY=:$(head -n 1 "$display_file")

build_dir=build
if [ "${SANITIZE:-0}" = 1 ]; then
    build_dir=build-asan
    # Qt and the font libraries keep caches for the life of the process: not leaks of ours.
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
cd "$build_dir"
../scripts/with-audio-server.sh ctest --output-on-failure -j "$(nproc)" "$@"
