// One clock tick of the real board: the game clock and four penalties in use and running,
// digits written to the LED cells, lamps and colons set. Each tick comes a tenth after the
// one before, as on the rink. In the last minute the clock's digits change on every tick.
// The paint that follows is left out (it is processed between measurements).
#include "BenchMain.h"
#include "board/frmScoreBoard.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace {

void tickTheBoard(benchmark::State& state, const char* clock) {
    Settings settings;
    FakeTimeSource time;
    frmScoreBoard board(settings, time);
    board.show();
    ScoreBoardLogic& logic = board.logic();
    auto type = [&](EntryBox box, const char* keys) {
        for (const char* k = keys; *k; ++k)
            logic.KeyDown(box, *k == '\n' ? 13 : *k == '.' ? 190 : *k);
    };
    auto setUp = [&] {
        type(EntryBox::TimeBack, clock);
        for (EntryBox box : {EntryBox::PenaltyTH1, EntryBox::PenaltyTH2, EntryBox::PenaltyTV1,
                             EntryBox::PenaltyTV2})
            type(box, "9.59\n");
        logic.AllKeyCode(settings.StartStopClockKey);
        board.clockTimer().setEnabled(false); // the benchmark drives the ticks itself
    };
    setUp();

    int n = 0;
    for (auto _ : state) {
        time.advance(100);
        logic.tmrClock1_Timer();
        if (++n % 500 == 0) {
            state.PauseTiming();
            QApplication::processEvents();
            setUp(); // before the clock runs out
            state.ResumeTiming();
        }
    }
}

void BM_BoardClockTickMinutes(benchmark::State& state) {
    tickTheBoard(state, "99.59\n");
}
BENCHMARK(BM_BoardClockTickMinutes)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

void BM_BoardClockTickLastMinute(benchmark::State& state) {
    tickTheBoard(state, "0.59\n");
}
BENCHMARK(BM_BoardClockTickLastMinute)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    return runBenchmarks<QApplication>(argc, argv);
}
