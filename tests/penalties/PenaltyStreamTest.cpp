// Random streams of game events through the penalty log: whatever happens, the clocks stay
// sane, undo gives back exactly the state before, and the events alone rebuild the state.

#include "penalties/PenaltyLog.h"
#include "penalties/RandomPenaltyEvents.h"

#include <gtest/gtest.h>

#include <random>

using namespace penalties;

namespace {

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
        // Nobody waits while a clock is free, but a player for his own penalty on a clock.
        const auto clocks = state.clocks(team);
        for (const ClockShown& waiting : state.waiting(team)) {
            const auto sits = [&waiting](const std::optional<ClockShown>& clock) {
                return clock && clock->player == waiting.player &&
                       clock->substitute == waiting.substitute;
            };
            EXPECT_TRUE(running == 2 || sits(clocks[0]) || sits(clocks[1]));
        }
        for (const ClockShown& waiting : state.waiting(team))
            EXPECT_GT(waiting.tenthsLeft, 0);
        // Time up off the clocks reads 0 until the next stoppage.
        for (const OffClockPenalty& off : state.misconducts(team))
            EXPECT_GE(off.tenthsLeft, 0);
        for (const OffClockPenalty& off : state.coincident(team))
            EXPECT_GE(off.tenthsLeft, 0);
        // One player never sits on both clocks.
        if (clocks[0] && clocks[1]) {
            EXPECT_FALSE(clocks[0]->player == clocks[1]->player &&
                         clocks[0]->substitute == clocks[1]->substitute);
        }
    }
}

class PenaltyStreams : public testing::TestWithParam<RuleBook> {};

TEST_P(PenaltyStreams, InvariantsUndoAndReplayHold) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        EventSource source(seed * 7919u + static_cast<unsigned>(GetParam()));
        PenaltyLog log(rulesFor(GetParam()));
        for (int i = 0; i < 400; ++i) {
            const PenaltyState before = log.state();
            const PenaltyEvent event = source.next();
            const bool kept = log.record(event);
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
