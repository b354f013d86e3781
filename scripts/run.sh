#!/usr/bin/env bash
# Installs what is missing, builds, and starts the scoreboard. Arguments go to the program
# ("bypass" opens the board at once).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
exec build/program/pucktally "$@"
