// Each row plays a game with the assistant, then reads the penalties back from its saved text:
// when each was assessed, started and ended, and why.

#include "penalties/PenaltyHistory.h"
#include "penalties/PenaltyAssistant.h"

#include <gtest/gtest.h>

using namespace penalties;

namespace {

using End = PenaltyRecord::End;
constexpr Team H = Team::Home;
constexpr Team V = Team::Guest;
constexpr long long kNever = -1;

struct Step {
    enum Op { Give, Run, Goal } op;
    Assessment penalty{};
    int tenths = 0;
    Team scorer = H;
};

Step give(Team team, int player, PenaltyKind kind = PenaltyKind::Minor) {
    return {Step::Give, {team, player, kind, -1}};
}
Step run(int tenths) {
    return {Step::Run, {}, tenths};
}
Step goalBy(Team scorer) {
    return {Step::Goal, {}, 0, scorer};
}

struct Expected {
    int player;
    long long assessed;
    long long started; // kNever: not started
    long long ended;   // kNever: not ended
    End end;
};

struct HistoryCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<Expected> expected;
};

class PenaltyHistoryTest : public ::testing::TestWithParam<HistoryCase> {};

TEST_P(PenaltyHistoryTest, ListsEachPenaltysLife) {
    PenaltyAssistant assistant;
    for (const Step& s : GetParam().steps) {
        if (s.op == Step::Give)
            ASSERT_TRUE(assistant.assess(s.penalty));
        else if (s.op == Step::Run)
            assistant.advance(s.tenths);
        else
            assistant.goal(s.scorer);
    }
    const auto history = penaltyHistory({}, assistant.save(), assistant.elapsed());
    const auto& expected = GetParam().expected;
    ASSERT_EQ(history.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(history[i].player, expected[i].player);
        EXPECT_EQ(history[i].assessed, expected[i].assessed);
        EXPECT_EQ(history[i].started.value_or(kNever), expected[i].started);
        EXPECT_EQ(history[i].ended.value_or(kNever), expected[i].ended);
        EXPECT_EQ(history[i].end, expected[i].end);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Games, PenaltyHistoryTest,
    ::testing::Values(
        HistoryCase{
            "MinorExpires", {run(100), give(H, 7), run(1500)}, {{7, 100, 100, 1300, End::Expired}}},
        HistoryCase{"PowerPlayGoalEndsMinor",
                    {give(H, 7), run(300), goalBy(V), run(100)},
                    {{7, 0, 0, 300, End::Goal}}},
        HistoryCase{"GoalEndsOnlyTheCurrentPartOfADoubleMinor",
                    {give(V, 4, PenaltyKind::DoubleMinor), run(500), goalBy(H), run(2500)},
                    {{4, 0, 0, 1700, End::Expired}}},
        HistoryCase{"ThirdPenaltyWaitsThenStarts",
                    {give(H, 7), run(200), give(H, 8), run(200), give(H, 9), run(1200)},
                    {{7, 0, 0, 1200, End::Expired},
                     {8, 200, 200, 1400, End::Expired},
                     {9, 400, 1200, kNever, End::Running}}},
        HistoryCase{"ThirdPenaltyStillWaitingAtTheEnd",
                    {give(H, 7), give(H, 8), give(H, 9), run(600)},
                    {{7, 0, 0, kNever, End::Running},
                     {8, 0, 0, kNever, End::Running},
                     {9, 0, kNever, kNever, End::Waiting}}},
        HistoryCase{"MisconductRunsOffTheClocks",
                    {give(V, 12, PenaltyKind::Misconduct), run(7000)},
                    {{12, 0, 0, 6000, End::Expired}}},
        HistoryCase{"CoincidentMinorsServedBySubstitutes",
                    {run(50), give(H, 3), give(V, 5), goalBy(H), run(1300)},
                    {{3, 50, 50, 1250, End::Expired}, {5, 50, 50, 1250, End::Expired}}},
        HistoryCase{"SecondMinorOfOnePlayerFollowsHisFirst",
                    {give(H, 7), run(600), give(H, 7), run(1000)},
                    {{7, 0, 0, 1200, End::Expired}, {7, 600, 1200, kNever, End::Running}}},
        HistoryCase{"TwoMinorsToOnePlayerAtOneStoppage",
                    {give(H, 7), give(H, 7), run(1500)},
                    {{7, 0, 0, 1200, End::Expired}, {7, 0, 1200, kNever, End::Running}}},
        HistoryCase{"GoalEndsTheFirstOfOneGuestsTwoMinors",
                    {run(100), give(V, 7), give(V, 7), run(300), goalBy(H), run(2500)},
                    {{7, 100, 100, 400, End::Goal}, {7, 100, 400, 1600, End::Expired}}},
        HistoryCase{"GameMisconductAloneHasNoTime",
                    {give(V, 2, PenaltyKind::GameMisconduct), run(10)},
                    {{2, 0, kNever, kNever, End::OffClocks}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PenaltyHistory, UnreadableTextGivesNothing) {
    EXPECT_TRUE(penaltyHistory({}, "nonsense", 100).empty());
    EXPECT_TRUE(penaltyHistory({}, "penalties1;A H 7 0 -1 @500", 100).empty());
}

} // namespace
