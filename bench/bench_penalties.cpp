// What one decision of the penalty assistant costs, for each rule book: the engine told a
// random game's events one by one (running time, penalties of every kind, goals, period ends),
// and the assistant's heaviest step, an undo late in a long game, which plays the whole game
// again. Reports the median, 99th percentile and worst single decision in microseconds of the
// thread's CPU time. A decision must come well under a millisecond.
//
//   build/program/bench_penalties [--benchmark_filter=...]
#include "BenchMain.h"
#include "BenchPercentiles.h"
#include "penalties/PenaltyAssistant.h"
#include "penalties/PenaltyLog.h"
#include "penalties/RandomPenaltyEvents.h"

#include <QCoreApplication>
#include <vector>

namespace {

using namespace penalties;

constexpr RuleBook kBooks[] = {RuleBook::Iihf, RuleBook::UsaHockey, RuleBook::HockeyCanada,
                               RuleBook::Nhl};

void BM_EngineDecision(benchmark::State& state) {
    const RuleBook book = kBooks[state.range(0)];
    std::vector<double> us;
    unsigned seed = 1;
    for (auto _ : state) {
        EventSource source(seed++);
        PenaltyLog log(rulesFor(book));
        for (int i = 0; i < 400; ++i) {
            const PenaltyEvent event = source.next();
            const double start = threadCpuUs();
            benchmark::DoNotOptimize(log.record(event));
            us.push_back(threadCpuUs() - start);
        }
    }
    reportPercentiles(state, us, "");
}
BENCHMARK(BM_EngineDecision)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// A full game's worth of penalties, goals and running time, then the last penalty taken back.
void BM_AssistantUndoLateInAGame(benchmark::State& state) {
    const RuleBook book = kBooks[state.range(0)];
    PenaltyAssistant assistant(rulesFor(book));
    EventSource source(7);
    for (int i = 0; i < 60; ++i) {
        assistant.assess({source.pick(0, 1) ? Team::Guest : Team::Home, source.pick(1, 30),
                          static_cast<PenaltyKind>(source.pick(0, 7)), -1});
        assistant.advance(source.pick(100, 900));
        if (source.pick(0, 3) == 0)
            assistant.goal(source.pick(0, 1) ? Team::Guest : Team::Home);
    }
    std::vector<double> us;
    for (auto _ : state) {
        const double start = threadCpuUs();
        assistant.undo();
        assistant.redo();
        us.push_back((threadCpuUs() - start) / 2);
    }
    reportPercentiles(state, us, "");
}
BENCHMARK(BM_AssistantUndoLateInAGame)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return runBenchmarks<QCoreApplication>(argc, argv);
}
