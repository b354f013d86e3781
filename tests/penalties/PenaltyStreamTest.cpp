// Random streams of game events through the penalty log: whatever happens, the clocks stay
// sane, undo gives back exactly the state before, and the events alone rebuild the state.

#include "penalties/PenaltyLog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

using namespace penalties;

namespace {

class EventSource {
  public:
    explicit EventSource(unsigned seed) : random_(seed) {}

    PenaltyEvent next() {
        const int roll = pick(0, 99);
        if (roll < 35)
            return PenaltyEvent::advance(pick(0, 1500));
        if (roll < 65) {
            std::vector<Assessment> given;
            const int count = pick(1, 4);
            for (int i = 0; i < count; ++i)
                given.push_back(assessment(team()));
            return PenaltyEvent::assess(given);
        }
        if (roll < 92) {
            const Team scorer = team();
            std::vector<Assessment> signalled;
            if (pick(0, 3) == 0)
                signalled.push_back(assessment(opponent(scorer)));
            return PenaltyEvent::goal(scorer, pick(0, 9) == 0, signalled, pick(-1, 12));
        }
        if (roll < 96)
            return PenaltyEvent::periodEnd();
        // Nonsense the engine must refuse.
        if (roll < 98)
            return PenaltyEvent::advance(-pick(1, 100));
        return PenaltyEvent::assess({{team(), pick(0, 12), static_cast<PenaltyKind>(pick(8, 40))}});
    }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  private:
    Team team() { return pick(0, 1) ? Team::Guest : Team::Home; }
    Assessment assessment(Team side) {
        // Few players, so the same one is often penalised again while seated.
        return {side, pick(1, 12), static_cast<PenaltyKind>(pick(0, 7)),
                pick(0, 5) == 0 ? pick(13, 20) : -1};
    }

    std::mt19937 random_;
};

void expectSane(const PenaltyState& state) {
    for (Team team : {Team::Home, Team::Guest}) {
        const int skaters = state.skaters(team);
        EXPECT_GE(skaters, 3);
        EXPECT_LE(skaters, 5);
        int running = 0;
        for (const auto& clock : state.clocks(team)) {
            if (!clock)
                continue;
            ++running;
            EXPECT_GT(clock->tenthsLeft, 0);
        }
        EXPECT_EQ(running, 5 - skaters);
        // Nobody waits while a clock is free.
        if (!state.waiting(team).empty()) {
            EXPECT_EQ(running, 2);
        }
        for (const ClockShown& waiting : state.waiting(team))
            EXPECT_GT(waiting.tenthsLeft, 0);
        for (const OffClockPenalty& off : state.misconducts(team))
            EXPECT_GT(off.tenthsLeft, 0);
        for (const OffClockPenalty& off : state.coincident(team))
            EXPECT_GT(off.tenthsLeft, 0);
    }
}

class PenaltyStreams : public testing::TestWithParam<RuleBook> {};

TEST_P(PenaltyStreams, InvariantsUndoAndReplayHold) {
    using Clock = std::chrono::steady_clock;
    Clock::duration slowest{};
    Clock::duration spent{};
    int decisions = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        EventSource source(seed * 7919u + static_cast<unsigned>(GetParam()));
        PenaltyLog log(rulesFor(GetParam()));
        for (int i = 0; i < 400; ++i) {
            const PenaltyState before = log.state();
            const PenaltyEvent event = source.next();
            const auto start = Clock::now();
            const bool kept = log.record(event);
            const Clock::duration took = Clock::now() - start;
            slowest = std::max(slowest, took);
            spent += took;
            ++decisions;
            if (!kept) {
                ASSERT_EQ(log.state(), before) << "seed " << seed << " event " << i;
                continue;
            }
            expectSane(log.state());
            if (source.pick(0, 4) == 0) {
                const PenaltyState after = log.state();
                ASSERT_TRUE(log.undo());
                ASSERT_EQ(log.state(), before) << "seed " << seed << " event " << i;
                ASSERT_TRUE(log.redo());
                ASSERT_EQ(log.state(), after) << "seed " << seed << " event " << i;
            }
        }
        EXPECT_EQ(replay(rulesFor(GetParam()), log.events()), log.state()) << "seed " << seed;
        // Undo all the way back gives the empty bench.
        while (log.undo()) {
        }
        EXPECT_EQ(log.state(), PenaltyState(rulesFor(GetParam())));
    }
    // A decision must come well under a millisecond. The slowest single event is recorded but
    // not judged: on a loaded machine the scheduler can stall any one call; the average is
    // what the engine itself costs.
    const auto micros = [](Clock::duration span) {
        return static_cast<int>(
            std::chrono::duration_cast<std::chrono::microseconds>(span).count());
    };
    EXPECT_LT(micros(spent) / std::max(1, decisions), 1000);
    RecordProperty("slowest_event_us", micros(slowest));
    RecordProperty(
        "average_event_ns",
        static_cast<int>(std::chrono::duration_cast<std::chrono::nanoseconds>(spent).count() /
                         std::max(1, decisions)));
}

INSTANTIATE_TEST_SUITE_P(EveryRuleBook, PenaltyStreams,
                         testing::Values(RuleBook::Iihf, RuleBook::UsaHockey,
                                         RuleBook::HockeyCanada, RuleBook::Nhl));

TEST(PenaltyLogTest, RecordAfterUndoDropsTheRedo) {
    PenaltyLog log;
    ASSERT_TRUE(log.record(PenaltyEvent::assess({{Team::Home, 15, PenaltyKind::Minor}})));
    ASSERT_TRUE(log.undo());
    ASSERT_TRUE(log.record(PenaltyEvent::advance(10)));
    EXPECT_FALSE(log.redo());
    EXPECT_EQ(log.events().size(), 1u);
    EXPECT_EQ(log.state().skaters(Team::Home), 5);
    EXPECT_FALSE(log.record(PenaltyEvent::advance(-1)));
    EXPECT_EQ(log.events().size(), 1u);
}

} // namespace
