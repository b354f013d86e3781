// One clock tick of the real board: the game clock and four penalties in use and running,
// digits written to the LED cells, lamps and colons set. Each tick comes a tenth after the
// one before, as on the rink. In the last minute the clock's digits change on every tick.
// The paint that follows is left out (it is processed between measurements).
// BM_BoardRunningSecond: a whole second of running clock, with the paints, as the clock timer
// wakes the board for it, with the penalty assistant off (0) or on (1).
#include "BenchMain.h"
#include "BenchPercentiles.h"
#include "board/frmScoreBoard.h"
#include "penalties/AssistedBoard.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>
#include <vector>

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

// Four penalties on the clocks in two phases of the second and a misconduct with the assistant
// on; without it, four penalties typed on the board's own clocks. Each iteration is one
// second of running clock: the timer's ticks come at the tenths it asks for, each with its
// paint. Reports the board thread's CPU time per second and the ticks in it.
void BM_BoardRunningSecond(benchmark::State& state) {
    using namespace penalties;
    Settings settings;
    FakeTimeSource time;
    std::unique_ptr<frmScoreBoard> board;
    const auto runTenths = [&](int tenths) {
        int ticks = 0;
        for (int i = 0; i < tenths; ++i) {
            time.advance(100);
            TenthTimer& timer = board->clockTimer();
            if (timer.isEnabled() && time.nowMs() / 100 >= timer.nextTickTenth()) {
                timer.tickNow();
                ++ticks;
            }
        }
        return ticks;
    };
    const auto startStop = [&] { board->logic().AllKeyCode(settings.StartStopClockKey); };
    const auto setUp = [&] {
        board = std::make_unique<frmScoreBoard>(settings, time);
        board->show();
        QApplication::processEvents();
        if (state.range(0) == 0) {
            for (EntryBox box : {EntryBox::PenaltyTH1, EntryBox::PenaltyTH2, EntryBox::PenaltyTV1,
                                 EntryBox::PenaltyTV2})
                for (int key : {int{'5'}, 190, int{'5'}, int{'9'}, 13})
                    board->logic().KeyDown(box, key);
            startStop();
            return;
        }
        board->setPenaltyRules(rulesFor(RuleBook::Iihf));
        AssistedBoard& assisted = *board->penaltyAssistant();
        const auto give = [&](Team team, int player, PenaltyKind kind) {
            assisted.assistant().assess({team, player, kind, -1});
            assisted.settle();
        };
        give(Team::Home, 7, PenaltyKind::Minor);
        give(Team::Guest, 12, PenaltyKind::DoubleMinor);
        startStop();
        runTenths(35);
        startStop();
        give(Team::Home, 8, PenaltyKind::Major);
        give(Team::Guest, 9, PenaltyKind::Minor);
        give(Team::Guest, 4, PenaltyKind::Misconduct);
        startStop();
    };
    setUp();
    std::vector<double> us;
    int ticks = 0;
    int n = 0;
    for (auto _ : state) {
        const double start = threadCpuUs();
        ticks += runTenths(10);
        us.push_back(threadCpuUs() - start);
        if (++n % 100 == 0) { // before the first minors run out
            state.PauseTiming();
            setUp();
            state.ResumeTiming();
        }
    }
    reportPercentiles(state, us, "second_");
    state.counters["ticks_per_second"] = static_cast<double>(ticks) / static_cast<double>(n);
}
BENCHMARK(BM_BoardRunningSecond)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Iterations(300);

} // namespace

int main(int argc, char** argv) {
    return runBenchmarks<QApplication>(argc, argv);
}
