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

cd build
ctest --output-on-failure -j "$(nproc)" "$@"
