#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: widget tests on the
# offscreen platform, the few that need a real X server on a private Xvfb display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
done

build_dir=build
if [ "${SANITIZE:-0}" = 1 ]; then
    build_dir=build-asan
    # Qt and the font libraries keep caches for the life of the process: not leaks of ours.
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
cd "$build_dir"
ctest --output-on-failure -j "$(nproc)" "$@"
