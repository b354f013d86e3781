#!/usr/bin/env bash
# Installs the system packages the build and the tests need, only those that are missing,
# then configures and builds the project into build/ (build-asan/ with SANITIZE=1).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    cmake g++ make pkg-config dpkg-dev file
    qt6-base-dev qt6-multimedia-dev qt6-websockets-dev qt6-qpa-plugins libqt6multimedia6 libqt6sql6-sqlite libgl-dev libx11-dev libxtst-dev libxdamage-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth x11-utils x11-xserver-utils openbox xdotool fonts-liberation fonts-liberation2
    chromium
    pulseaudio pulseaudio-utils libpulse-dev
    stress-ng
)
# FUZZ=1: clang and its libFuzzer runtime, for scripts/fuzz.sh.
if [ "${FUZZ:-0}" = 1 ]; then
    packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

# SANITIZE=1 builds into build-asan with the address and undefined-behaviour sanitizers;
# FUZZ=1 builds the fuzz targets with clang into build-fuzz.
build_dir=build
extra=()
if [ "${SANITIZE:-0}" = 1 ]; then
    build_dir=build-asan
    extra=(-DPUCKTALLY_SANITIZE=ON -DPUCKTALLY_BENCH=OFF)
elif [ "${FUZZ:-0}" = 1 ]; then
    build_dir=build-fuzz
    extra=(-DPUCKTALLY_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++)
fi
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "${extra[@]}" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
