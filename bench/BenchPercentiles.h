#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <ctime>

// The value below which a share `p` (0 to 1) of the samples lie; 0 without samples.
inline double percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(p * static_cast<double>(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

// Median, 99th percentile and worst of millisecond samples as the benchmark's counters, with
// the number of samples under `countName`.
inline void reportSpread(benchmark::State& state, const std::vector<double>& ms,
                         const std::string& countName) {
    state.counters["median_ms"] = percentile(ms, 0.5);
    state.counters["p99_ms"] = percentile(ms, 0.99);
    state.counters["max_ms"] = percentile(ms, 1.0);
    state.counters[countName] = static_cast<double>(ms.size());
}

// Milliseconds since the latest tenth boundary of the steady clock, which is the clock the
// counters read through SteadyTimeSource: how late a tick of the tenth timer came.
inline double lagSinceBoundaryMs() {
    using namespace std::chrono;
    const std::int64_t us =
        duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<double>(us % 100'000) / 1000.0;
}

// The calling thread's CPU time in microseconds: the work itself, without the waits a busy
// machine adds.
inline double threadCpuUs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// Median, 99th percentile and worst of microsecond samples as counters named after `prefix`.
inline void reportPercentiles(benchmark::State& state, const std::vector<double>& us,
                              const std::string& prefix) {
    if (us.empty())
        return;
    state.counters[prefix + "p50_us"] = percentile(us, 0.5);
    state.counters[prefix + "p99_us"] = percentile(us, 0.99);
    state.counters[prefix + "max_us"] = percentile(us, 1.0);
}
