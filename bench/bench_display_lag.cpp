// How late the game clock's digits change: for each clock tick, the time from the counter's
// latest tenth boundary (where its reading changed) to the tick that draws the new reading.
// The tenth-aligned clock timer is measured beside free-running 100 ms timers.

#include "BenchMain.h"
#include "game/ClockFace.h"
#include "game/TenthTimer.h"
#include "game/modCount.h"

#include "BenchPercentiles.h"
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int kRunMs = 10'000;

// Reads and draws the game clock as the board's tick does, and notes the tick's lag.
struct TickRecorder {
    SteadyTimeSource time;
    modCount counters{time};
    std::vector<double> lags;

    TickRecorder() {
        counters.SetCounter(GameTime::seconds(5999), 0);
        counters.StartCounter(0);
        lags.reserve(kRunMs / 100 + 16);
    }
    void onTick() {
        lags.push_back(lagSinceBoundaryMs());
        benchmark::DoNotOptimize(clockFace(counters.ReadCounter(0)));
    }
};

void runEventLoopFor(int ms) {
    QEventLoop loop;
    QTimer end;
    // A precise end, so that the run's length does not snap to the clock timer's ticks.
    end.setTimerType(Qt::PreciseTimer);
    end.setSingleShot(true);
    QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
    end.start(ms);
    loop.exec();
}

// The operator starts the clock at any moment, and a free-running timer keeps the phase
// of that moment. So the run is split into kRuns parts started at phases spread evenly
// over a tenth (5 ms, 15 ms, ... after a boundary), each with a timer of its own.
constexpr int kRuns = 10;

template <typename RunOne> void runAtSpreadPhases(RunOne runOne) {
    for (int k = 0; k < kRuns; ++k) {
        const double phase = 5.0 + 100.0 * k / kRuns;
        const double wait = std::fmod(phase - lagSinceBoundaryMs() + 100.0, 100.0);
        runEventLoopFor(static_cast<int>(wait));
        runOne(kRunMs / kRuns);
    }
}

void report(benchmark::State& state, const std::vector<double>& lags) {
    reportSpread(state, lags, "ticks");
}

void BM_TenthTimerLag(benchmark::State& state) {
    TickRecorder recorder;
    for (auto _ : state) {
        runAtSpreadPhases([&recorder](int ms) {
            TenthTimer timer(recorder.time);
            QObject::connect(&timer, &TenthTimer::tick, [&recorder] { recorder.onTick(); });
            timer.setEnabled(true);
            runEventLoopFor(ms);
            timer.setEnabled(false);
        });
    }
    report(state, recorder.lags);
}

void freeRunningTimerLag(benchmark::State& state, Qt::TimerType type) {
    TickRecorder recorder;
    for (auto _ : state) {
        runAtSpreadPhases([&recorder, type](int ms) {
            QTimer timer;
            timer.setTimerType(type);
            timer.setInterval(100);
            QObject::connect(&timer, &QTimer::timeout, [&recorder] { recorder.onTick(); });
            timer.start();
            runEventLoopFor(ms);
            timer.stop();
        });
    }
    report(state, recorder.lags);
}

// The default timer kind, which the toolkit may shift by a few milliseconds to group
// wake-ups; this often lands it near the boundaries, but sometimes just before one.
void BM_FreeRunningTimerLag(benchmark::State& state) {
    freeRunningTimerLag(state, Qt::CoarseTimer);
}

// A punctual free-running timer keeps the phase at which the clock was started.
void BM_FreeRunningPreciseTimerLag(benchmark::State& state) {
    freeRunningTimerLag(state, Qt::PreciseTimer);
}

} // namespace

BENCHMARK(BM_TenthTimerLag)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreeRunningTimerLag)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreeRunningPreciseTimerLag)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return runBenchmarks<QCoreApplication>(argc, argv);
}
