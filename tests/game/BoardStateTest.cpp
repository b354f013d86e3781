#include "game/BoardHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace boardtest;

namespace {

// A scripted stretch of play and what the board's state must read afterwards.
struct StateCase {
    std::string name;
    std::function<void(BoardHarness&)> play;
    std::function<void(const BoardState&)> expect;
};

const StateCase kCases[] = {
    {"LoadedBoard", [](BoardHarness&) {},
     [](const BoardState& s) {
         EXPECT_EQ(s.clock, "10:00");
         EXPECT_EQ(s.clockTenths, 6000);
         EXPECT_FALSE(s.clockRunning);
         EXPECT_EQ(s.period, 0);
         EXPECT_EQ(s.home, 0);
         EXPECT_EQ(s.shotsVisitor, 0);
         EXPECT_EQ(s.resetTenths, 6000);
         for (const PenaltyState& p : s.penalties)
             EXPECT_EQ(p, PenaltyState{});
     }},
    {"RunningClockInMinutes",
     [](BoardHarness& b) {
         b.press(EntryBox::TimeBack, keyFor('S'));
         b.run(2500);
     },
     [](const BoardState& s) {
         EXPECT_EQ(s.clock, "9:58");
         EXPECT_EQ(s.clockTenths, 5975);
         EXPECT_TRUE(s.clockRunning);
     }},
    {"ClockThatRanOutStands",
     [](BoardHarness& b) {
         b.type(EntryBox::PenaltyTH1, "2.00\n");
         b.type(EntryBox::TimeBack, "0.03\n");
         b.press(EntryBox::TimeBack, keyFor('S'));
         b.run(5000);
     },
     [](const BoardState& s) {
         EXPECT_EQ(s.clockTenths, 0);
         EXPECT_FALSE(s.clockRunning);
         EXPECT_EQ(s.penalties[0].tenths, 1170);
         EXPECT_TRUE(s.penalties[0].lit);
         EXPECT_FALSE(s.penalties[0].running);
     }},
    {"LastMinuteShowsTenths", [](BoardHarness& b) { b.type(EntryBox::TimeBack, "0.453\n"); },
     [](const BoardState& s) {
         EXPECT_EQ(s.clock, "45.3");
         EXPECT_EQ(s.clockTenths, 453);
         EXPECT_EQ(s.resetTenths, 453);
     }},
    {"ScoresShotsPeriodAndGoalLamp",
     [](BoardHarness& b) {
         b.type(EntryBox::HomeBack, "+3");
         b.type(EntryBox::VisitorBack, "12\n");
         b.type(EntryBox::ShotsBackH, "7\n");
         b.type(EntryBox::PeriodBack, "2\n");
         b.press(EntryBox::picGoalBack, vk::Right);
     },
     [](const BoardState& s) {
         EXPECT_EQ(s.home, 3);
         EXPECT_EQ(s.visitor, 12);
         EXPECT_EQ(s.shotsHome, 7);
         EXPECT_EQ(s.period, 2);
         EXPECT_EQ(s.whoGoal, 2);
     }},
    {"PenaltyRunsWithTheClockThenIsCleared",
     [](BoardHarness& b) {
         b.type(EntryBox::PenaltyPV2, "17\n");
         b.type(EntryBox::PenaltyTV2, "2.00\n");
         b.press(EntryBox::TimeBack, keyFor('S'));
         b.run(15000);
         b.type(EntryBox::PenaltyPH1, "4\n");
         b.type(EntryBox::PenaltyTH1, "1.00\n");
         b.press(EntryBox::PenaltyPH1, vk::Delete);
     },
     [](const BoardState& s) {
         const PenaltyState& v2 = s.penalties[3];
         EXPECT_EQ(v2.player, 17);
         EXPECT_EQ(v2.time, "1:45");
         EXPECT_EQ(v2.tenths, 1050);
         EXPECT_TRUE(v2.running);
         EXPECT_TRUE(v2.lit);
         EXPECT_EQ(s.penalties[0], PenaltyState{});
     }},
};

class BoardStateRead : public ::testing::TestWithParam<StateCase> {};

TEST_P(BoardStateRead, MatchesWhatWasDrawn) {
    BoardHarness b;
    b.load();
    GetParam().play(b);
    GetParam().expect(b.logic.state());
}

INSTANTIATE_TEST_SUITE_P(Streams, BoardStateRead, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

} // namespace
