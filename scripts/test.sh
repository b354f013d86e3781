#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: widget tests on the
# offscreen platform, the few that need a real X server on a private Xvfb display, the few
# that need a real audio server on a private PulseAudio server.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

build_dir=build
if [ "${SANITIZE:-0}" = 1 ]; then
    build_dir=build-asan
    # Qt and the font libraries keep caches for the life of the process: not leaks of ours.
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
cd "$build_dir"
../scripts/with-x-server.sh ../scripts/with-audio-server.sh ctest --output-on-failure -j "$(nproc)" "$@"
