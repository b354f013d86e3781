// The cost of one clock tick with the game clock and all four penalties in use and running,
// reading the real steady clock; digits go into memory, so painting is left out.

#include "game/KeyCodes.h"
#include "game/ScoreBoardLogic.h"
#include "settings/Settings.h"
#include "support/FakeBoardView.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void BM_ClockTick(benchmark::State& state) {
    Settings settings;
    SteadyTimeSource time;
    FakeBoardView view;
    ScoreBoardLogic logic(view, settings, time);
    logic.Form_Load();

    auto type = [&](EntryBox box, const char* keys) {
        for (const char* k = keys; *k; ++k)
            logic.KeyDown(box, *k == '\n' ? vk::Return : *k == '.' ? vk::OemPeriod : *k);
    };
    // 99:59 on the clock and 9:59 on every penalty: far more time than any run takes.
    type(EntryBox::TimeBack, "99.59\n");
    type(EntryBox::PenaltyTH1, "9.59\n");
    type(EntryBox::PenaltyTH2, "9.59\n");
    type(EntryBox::PenaltyTV1, "9.59\n");
    type(EntryBox::PenaltyTV2, "9.59\n");
    logic.KeyDown(EntryBox::TimeBack, settings.StartStopClockKey);
    if (!view.timerEnabled()) {
        state.SkipWithError("the clock did not start");
        return;
    }

    for (auto _ : state) {
        logic.tmrClock1_Timer();
        benchmark::DoNotOptimize(view.group(FieldId::PenaltyTV2).digit(0));
    }
    if (!view.timerEnabled() || view.buzzers() != 0)
        state.SkipWithError("the clock ran out during the run");
}

BENCHMARK(BM_ClockTick)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("max", [](const std::vector<double>& v) {
        double m = 0;
        for (double x : v)
            m = x > m ? x : m;
        return m;
    });

} // namespace

BENCHMARK_MAIN();
