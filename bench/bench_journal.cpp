// Cost of journalling one event of the board, as the board pays it on its own thread:
// the change worked out from the state, written as one row and committed (WAL,
// synchronous=NORMAL), with the flushing thread running beside it as in the program.
// Reports the median, 99th percentile and worst single event in microseconds, as wall time
// (what the board waits, scheduling on a busy machine included) and as the board thread's
// own CPU time (the work itself).
//
//   build/program/bench_journal [--benchmark_filter=...]
// The journal file goes to $TMPDIR (a real disk, not memory, gives honest figures).
#include "BenchMain.h"
#include "BenchPercentiles.h"
#include "journal/GameJournal.h"
#include "journal/SqliteJournalStore.h"
#include "support/FakeTimeSource.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <vector>

namespace {

// Times one event both ways.
template <typename F> void timeEvent(std::vector<double>& wall, std::vector<double>& cpu, F f) {
    const double c0 = threadCpuUs();
    const auto t0 = std::chrono::steady_clock::now();
    f();
    wall.push_back(
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
    cpu.push_back(threadCpuUs() - c0);
}

// A running clock: every event moves the game clock and one penalty by a tenth.
void BM_JournalClockTick(benchmark::State& state) {
    QTemporaryDir dir;
    SqliteJournalStore store(QDir(dir.path()).filePath("journal.sqlite"),
                             static_cast<int>(state.range(0)));
    FakeTimeSource time;
    GameJournal journal(store, time);
    BoardState s;
    s.clockTenths = 6000;
    s.penalties[0] = {17, QStringLiteral("2:00"), 1200, true, true};
    journal.begin(s);
    std::vector<double> wall;
    std::vector<double> cpu;
    for (auto _ : state) {
        s.clockTenths = s.clockTenths > 0 ? s.clockTenths - 1 : 6000;
        s.penalties[0].tenths = s.clockTenths % 1200;
        time.advance(100);
        timeEvent(wall, cpu, [&] { journal.record(s, JournalKind::Clock); });
    }
    reportPercentiles(state, wall, "");
    reportPercentiles(state, cpu, "cpu_");
}
// Argument: the flushing thread's interval in ms (0: no flushing thread).
BENCHMARK(BM_JournalClockTick)->Arg(100)->Arg(0)->Iterations(20000)->Unit(benchmark::kMicrosecond);

// An operator's key: a score changes, which also enters the undo history.
void BM_JournalOperatorKey(benchmark::State& state) {
    QTemporaryDir dir;
    SqliteJournalStore store(QDir(dir.path()).filePath("journal.sqlite"), 100);
    FakeTimeSource time;
    GameJournal journal(store, time);
    BoardState s;
    journal.begin(s);
    std::vector<double> wall;
    std::vector<double> cpu;
    for (auto _ : state) {
        s.home = (s.home + 1) % 200;
        timeEvent(wall, cpu, [&] { journal.record(s, JournalKind::Key); });
    }
    reportPercentiles(state, wall, "");
    reportPercentiles(state, cpu, "cpu_");
}
BENCHMARK(BM_JournalOperatorKey)->Iterations(5000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return runBenchmarks<QCoreApplication>(argc, argv);
}
