#!/usr/bin/env bash
# Builds and runs the benchmarks behind the README's performance table, at the lowest priority,
# and prints the machine they ran on. Times are CPU time of the board's thread unless a
# benchmark says otherwise; on a busy machine the wall-clock column runs higher.
#   scripts/bench.sh [BENCHMARK_FILTER]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh >/dev/null

echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(nproc) cores," \
    "$(free -g | awk '/Mem:/{print $2}') GiB, load $(cut -d' ' -f1-3 /proc/loadavg)"
export QT_QPA_PLATFORM=offscreen
filter=${1:-.}
for b in bench_board_paint bench_board_tick bench_display_lag bench_board_resize bench_startup \
    bench_rtf_reader; do
    nice -n 19 "build/program/$b" --benchmark_filter="$filter" \
        --benchmark_format=console 2>/dev/null | grep -E '^(BM_|Benchmark|-)' || true
done
# How soon a sound starts and how soon its end frees the board, at a private audio server's
# output: figures the tests leave alone, since they depend on how busy the machine is.
nice -n 19 scripts/with-audio-server.sh build/program/bench_sound_start \
    --benchmark_filter="$filter" --benchmark_format=console 2>/dev/null |
    grep -E '^(Buzzer|Benchmark|-)' || true
