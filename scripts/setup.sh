#!/usr/bin/env bash
# Installs the system packages the build and the tests need, only those that are missing,
# then configures and builds the project into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins libqt6multimedia6 libgl-dev libx11-dev libxtst-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth fonts-liberation fonts-liberation2
)

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

build_type=${BUILD_TYPE:-RelWithDebInfo}
cmake -S . -B build -DCMAKE_BUILD_TYPE="$build_type" ${CMAKE_EXTRA_ARGS:-} >/dev/null
cmake --build build -j "$(nproc)"
