#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each in turn for SECONDS (default 60), at the
# lowest priority, on a scratch copy of its seed corpus (the seeds in fuzz/corpus stay small).
#   scripts/fuzz.sh [SECONDS] [TARGET...]
# A crash leaves its input in fuzz-out/<target>/; copy it to fuzz/regressions/<target>/ once
# the fault is mended, where the replay tests run it on every test run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
FUZZ=1 scripts/setup.sh

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for exe in build-fuzz/fuzz/fuzz_*; do
        targets+=("$(basename "$exe" | sed 's/^fuzz_//')")
    done
fi

# Qt keeps a few objects for the life of the process; they are not leaks of ours.
export LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan.supp
status=0
for t in "${targets[@]}"; do
    out=fuzz-out/$t
    mkdir -p "$out/corpus"
    echo "=== $t: ${seconds}s"
    # Every picture the limits allow fits well inside these ceilings; a decoder that ignored
    # them would hit one.
    if ! QT_QPA_PLATFORM=offscreen nice -n 19 "build-fuzz/fuzz/fuzz_$t" \
        -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$out/" "$out/corpus" "fuzz/corpus/$t" \
        >"$out/log.txt" 2>&1; then
        echo "    FAILED: see $out/log.txt"
        status=1
    fi
    grep -E '^#[0-9]+.*(DONE|pulse)' "$out/log.txt" | tail -n 1 || true
    grep -E '^stat::number_of_executed_units' "$out/log.txt" || true
done
exit $status
