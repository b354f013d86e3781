#!/usr/bin/env bash
# Runs the test suite again and again while other processes keep every core busy, as on a
# machine in the middle of a build, to catch tests that pass only when the machine answers
# quickly. Each run has its own private X and sound servers, as scripts/test.sh gives the
# suite. Prints every test that failed in any run, with how often, and exits non-zero if any
# did. The logs of all runs stay in BUILD_DIR/Testing/stress/.
#
#   scripts/stress-tests.sh N [BUILD_DIR] [CTEST_ARGS...]
#
#   scripts/stress-tests.sh 5                                  # the whole suite, 5 times
#   scripts/stress-tests.sh 20 build -R board_sound_audio      # one test, 20 times
#
# STRESS_CPUS sets how many busy workers run beside the tests (one per core by default).
set -euo pipefail
scripts=$(cd "$(dirname "$0")" && pwd)

if [ $# -lt 1 ] || ! [[ $1 =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 N [BUILD_DIR] [CTEST_ARGS...]" >&2
    exit 2
fi
runs=$1
shift
build_dir=build
if [ $# -gt 0 ] && [[ $1 != -* ]]; then
    build_dir=$1
    shift
fi
if [ ! -f "$build_dir/CTestTestfile.cmake" ]; then
    echo "$0: $build_dir holds no built test suite (scripts/setup.sh builds one)" >&2
    exit 2
fi
build_dir=$(cd "$build_dir" && pwd)
command -v stress-ng >/dev/null || { echo "$0: stress-ng is missing (scripts/setup.sh)" >&2; exit 2; }

logs=$build_dir/Testing/stress
rm -rf "$logs"
mkdir -p "$logs"

stress-ng --cpu "${STRESS_CPUS:-$(nproc)}" --quiet &
stress_pid=$!
trap 'kill $stress_pid 2>/dev/null || true; wait $stress_pid 2>/dev/null || true' EXIT

declare -A failures=()
started=$SECONDS
for run in $(seq "$runs"); do
    log=$logs/run-$run.log
    run_started=$SECONDS
    status=0
    (cd "$build_dir" && "$scripts/with-x-server.sh" "$scripts/with-audio-server.sh" \
        ctest --output-on-failure -j "$(nproc)" "$@") >"$log" 2>&1 || status=$?
    # ctest lists what failed as "  12 - name (Failed)", also "(Timeout)", "(Subprocess aborted)".
    failed=$(sed -n '/The following tests FAILED:/,$p' "$log" |
        sed -nE 's/^[[:space:]]*[0-9]+ - ([^ ]+) \((.*)\).*$/\1/p' | sort -u)
    if [ "$status" -ne 0 ] && [ -z "$failed" ]; then
        failed="(ctest-itself)" # no test named: the run broke before or around the tests
    fi
    for name in $failed; do
        failures[$name]=$((${failures[$name]:-0} + 1))
    done
    echo "run $run of $runs: $((SECONDS - run_started)) s, failed: $(echo ${failed:-none})"
done

echo "$runs runs in $((SECONDS - started)) s under stress-ng --cpu ${STRESS_CPUS:-$(nproc)}; logs in $logs"
if [ ${#failures[@]} -eq 0 ]; then
    echo "no test failed"
    exit 0
fi
echo "failed tests (runs failed of $runs):"
for name in "${!failures[@]}"; do
    printf '  %-40s %d\n' "$name" "${failures[$name]}"
done | sort
exit 1
