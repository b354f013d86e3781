// What the assistant learns from the board: each row is keys pressed in the board's entry
// boxes and game time let pass, and the engine events they must amount to.

#include "penalties/AssistedBoard.h"
#include "game/BoardHarness.h"

#include <gtest/gtest.h>

using namespace boardtest;
using namespace penalties;

namespace {

struct Act {
    EntryBox box = EntryBox::TimeBack;
    const char* keys = ""; // "^" stands for Ctrl+P, "#" for Delete, "~" for the clear key
    int runMs = 0;         // game time let pass after the keys
};

struct Assisted {
    BoardHarness b;
    std::unique_ptr<AssistedBoard> a;
    std::string told; // what the assistant told the timekeeper

    Assisted() {
        b.load();
        a = std::make_unique<AssistedBoard>(b.logic, b.view, rulesFor(RuleBook::Iihf));
        a->setNotices([this](const std::string& text) { told += text + "\n"; });
    }
    void press(EntryBox box, int key, bool ctrl) {
        a->catchUp(b.logic.IsFunctionKey(key));
        if (!a->takeKey(key, ctrl))
            b.press(box, key);
        a->settle();
    }
    void act(const Act& step) {
        for (const char* c = step.keys; *c; ++c)
            *c == '^'   ? press(step.box, 'P', true)
            : *c == '#' ? press(step.box, vk::Delete, false)
            : *c == '~' ? press(step.box, b.settings.ClearKey, false)
                        : press(step.box, keyFor(*c), false);
        b.run(step.runMs);
        a->settle();
    }
};

struct BoardRow {
    const char* name;
    std::vector<Act> acts;
    std::vector<PenaltyEvent> engine;
    const char* told = ""; // what the timekeeper is told, in part; "" for nothing
};

class AssistedBoardRows : public testing::TestWithParam<BoardRow> {};

TEST_P(AssistedBoardRows, BoardAmountsToEngineEvents) {
    Assisted t;
    for (const Act& step : GetParam().acts)
        t.act(step);
    EXPECT_TRUE(t.a->assistant().state() == replay(rulesFor(RuleBook::Iihf), GetParam().engine));
    const std::string told = GetParam().told;
    EXPECT_TRUE(told.empty() ? t.told.empty() : t.told.find(told) != std::string::npos) << t.told;
}

const Assessment h7{Team::Home, 7, PenaltyKind::Minor, -1};
const Assessment h8{Team::Home, 8, PenaltyKind::Minor, -1};
const Assessment v9{Team::Guest, 9, PenaltyKind::Minor, -1};
constexpr EntryBox kTime = EntryBox::TimeBack;

INSTANTIATE_TEST_SUITE_P(
    Rows, AssistedBoardRows,
    testing::Values(
        BoardRow{"ClockRunsOnlyWhileStarted",
                 {{kTime, "^H7M\nS", 30000}, {kTime, "S", 5000}},
                 {PenaltyEvent::assess({h7}), PenaltyEvent::advance(300)}},
        BoardRow{"ResetAndTypedTimeAreNoPlay",
                 {{kTime, "^H7M\nS", 10000}, {kTime, "R", 0}, {kTime, "5.00\n", 2000}},
                 {PenaltyEvent::assess({h7}), PenaltyEvent::advance(100)}},
        BoardRow{"ScoreRaisedByOneIsAGoal",
                 {{kTime, "^H7M\n", 0}, {EntryBox::VisitorBack, "+1", 0}},
                 {PenaltyEvent::assess({h7}), PenaltyEvent::goal(Team::Guest)}},
        BoardRow{"ScoreTypedOneHigherIsAGoal",
                 {{kTime, "^V9M\n", 0}, {EntryBox::HomeBack, "1\n", 0}},
                 {PenaltyEvent::assess({v9}), PenaltyEvent::goal(Team::Home)}},
        BoardRow{"BlankedScoreTypedAsOneIsAGoal",
                 {{kTime, "^H7M\n", 0}, {EntryBox::VisitorBack, "~1\n", 0}},
                 {PenaltyEvent::assess({h7}), PenaltyEvent::goal(Team::Guest)}},
        BoardRow{"BlankedScoreTypedAsZeroIsNoGoal",
                 {{kTime, "^H7M\n", 0}, {EntryBox::VisitorBack, "~0\n", 0}},
                 {PenaltyEvent::assess({h7})}},
        BoardRow{"BlankedScoreRaisedByPlusIsAGoal",
                 {{kTime, "^V9M\n", 0}, {EntryBox::HomeBack, "~+1", 0}},
                 {PenaltyEvent::assess({v9}), PenaltyEvent::goal(Team::Home)}},
        // A double minor: the goal at 0:10 ends its first half, one at 0:15 would not.
        BoardRow{"ScoreBlankedAndTypedAgainKeepsItsGoal",
                 {{kTime, "^H7D\nS", 10000},
                  {kTime, "S", 0},
                  {EntryBox::VisitorBack, "1\n~", 0},
                  {kTime, "S", 5000},
                  {kTime, "S", 0},
                  {EntryBox::VisitorBack, "1\n", 0}},
                 {PenaltyEvent::assess({{Team::Home, 7, PenaltyKind::DoubleMinor, -1}}),
                  PenaltyEvent::advance(100), PenaltyEvent::stoppage(),
                  PenaltyEvent::goal(Team::Guest), PenaltyEvent::advance(50),
                  PenaltyEvent::stoppage()}},
        BoardRow{"ScoreRaisedByTwoIsNoGoal",
                 {{kTime, "^H7M\n", 0}, {EntryBox::VisitorBack, "+2", 0}},
                 {PenaltyEvent::assess({h7})}},
        BoardRow{
            "ScoreLoweredTakesTheGoalBack",
            {{kTime, "^H7M\n", 0},
             {kTime, "S", 1000},
             {kTime, "S^H8M\n", 0},
             {EntryBox::VisitorBack, "+1", 0},
             {EntryBox::VisitorBack, "-1", 0}},
            {PenaltyEvent::assess({h7}), PenaltyEvent::advance(10), PenaltyEvent::assess({h8})}},
        BoardRow{"ScoreUpDownUpIsOneGoal",
                 {{kTime, "^H7M\n", 0},
                  {kTime, "S", 1000},
                  {kTime, "S^H8M\n", 0},
                  {EntryBox::VisitorBack, "2\n3\n2\n3\n3\n", 0}},
                 {PenaltyEvent::assess({h7}), PenaltyEvent::advance(10), PenaltyEvent::assess({h8}),
                  PenaltyEvent::goal(Team::Guest)}},
        BoardRow{"ClockSetBackGivesTimeBack",
                 {{kTime, "^H7M\nS", 10000}, {kTime, "S9.53\n", 0}},
                 {PenaltyEvent::assess({h7}), PenaltyEvent::advance(70)}},
        BoardRow{"ClockSetOnRunsTime",
                 {{kTime, "^H7M\nS", 10000}, {kTime, "S9.45\n", 0}},
                 {PenaltyEvent::assess({h7}), PenaltyEvent::advance(150)}},
        BoardRow{"ClockSetBackNotPastTheLastEvent",
                 {{kTime, "S", 10000}, {kTime, "S^H7M\n9.55\n", 0}},
                 {PenaltyEvent::advance(100), PenaltyEvent::assess({h7})},
                 "clock set back 0:05, game time given back 0:00"},
        BoardRow{"ResetOfTheStoppedClockIsNoCorrection",
                 {{kTime, "^H7M\nS", 10000}, {kTime, "SR", 0}},
                 {PenaltyEvent::assess({h7}), PenaltyEvent::advance(100)}},
        BoardRow{
            "ClockSetForANewPeriodIsNoCorrection",
            {{kTime, "^H7M\nS", 10000},
             {kTime, "S", 0},
             {EntryBox::PeriodBack, "+1", 0},
             {kTime, "20.00\n", 0}},
            {PenaltyEvent::assess({h7}), PenaltyEvent::advance(100), PenaltyEvent::periodEnd()}},
        BoardRow{
            "SlotTimeTypedMovesWhenThePenaltyWasGiven",
            {{kTime, "^H7M\nS", 10000}, {kTime, "S", 0}, {EntryBox::PenaltyTH1, "1.55\n", 0}},
            {PenaltyEvent::advance(50), PenaltyEvent::assess({h7}), PenaltyEvent::advance(50)}},
        BoardRow{"SlotTimeNoPenaltyCanShowIsTold",
                 {{kTime, "^H7M\n", 0}, {EntryBox::PenaltyTH1, "3\n", 0}},
                 {PenaltyEvent::assess({h7})},
                 "slot 1 time not taken"},
        BoardRow{"SlotDeletedIsTold",
                 {{kTime, "^V9M\n", 0}, {EntryBox::PenaltyPV1, "#", 0}},
                 {PenaltyEvent::assess({v9})},
                 "slot 3 not taken"},
        BoardRow{"LatePenaltyJoinsTheLastStoppage",
                 {{kTime, "^H7M\nS", 3000}, {kTime, "^V9ML", 2000}},
                 {PenaltyEvent::assess({h7, v9}), PenaltyEvent::advance(50)}},
        BoardRow{"PeriodRaisedIsPeriodEnd",
                 {{EntryBox::PeriodBack, "+1", 0}},
                 {PenaltyEvent::periodEnd()}},
        BoardRow{
            "PenaltyTypedWhileTheClockRuns",
            {{kTime, "S", 10000}, {kTime, "^H7M\n", 5000}},
            {PenaltyEvent::advance(100), PenaltyEvent::assess({h7}), PenaltyEvent::advance(50)}},
        BoardRow{"ClockStoppedIsAStoppage",
                 {{kTime, "^H7M\n^V9M\nS", 130000}, {kTime, "S", 0}},
                 {PenaltyEvent::assess({h7, v9}), PenaltyEvent::advance(1300),
                  PenaltyEvent::stoppage()}},
        BoardRow{"HalfTypedPenaltyIsNothing", {{kTime, "^H7M", 0}}, {}}),
    [](const testing::TestParamInfo<BoardRow>& info) { return info.param.name; });

TEST(AssistedBoard, DrawsThePenaltySlotsAndRunsThemWithTheClock) {
    Assisted t;
    t.act({kTime, "^V12D\n", 0});
    EXPECT_EQ(t.b.number(FieldId::PenaltyPV1), 12);
    EXPECT_EQ(t.b.digits(FieldId::PenaltyTV1), (std::vector<int>{0, 0, 4}));
    EXPECT_EQ(t.b.view.penaltyLamp(3), Lamp::Lit);
    EXPECT_EQ(t.b.view.penaltyColon(3), Lamp::Lit);
    EXPECT_EQ(t.b.view.penaltyLamp(1), Lamp::Dark);
    t.act({kTime, "S", 60000});
    EXPECT_EQ(t.b.digits(FieldId::PenaltyTV1), (std::vector<int>{0, 0, 3}));
    EXPECT_TRUE(t.b.logic.state().penalties[2].running);
    // A goal by the home team ends the current minor of the double.
    t.act({EntryBox::HomeBack, "+1", 0});
    EXPECT_EQ(t.b.digits(FieldId::PenaltyTV1), (std::vector<int>{0, 0, 2}));
}

TEST(AssistedBoard, ScoreChangedBetweenKeysIsNoGoal) {
    Assisted t;
    BoardState s = t.b.logic.state();
    s.visitor = 1; // as the journal puts back a later board on redo
    t.b.logic.restore(s, false);
    t.act({kTime, "S", 0});
    EXPECT_TRUE(t.a->assistant().state() == penalties::PenaltyState(rulesFor(RuleBook::Iihf)));
}

TEST(AssistedBoard, PutBackBoardBringsItsPenaltyGame) {
    Assisted t;
    t.act({kTime, "^H7M\n", 0});
    const BoardState withPenalty = t.b.logic.state();
    EXPECT_FALSE(withPenalty.assistant.isEmpty());
    t.act({kTime, "^V9J\n", 0});
    t.b.logic.restore(withPenalty, false);
    EXPECT_TRUE(t.b.logic.state() == withPenalty);
    EXPECT_FALSE(t.a->assistant().boardClocks()[2]);
    // A board from before the assistant was on: an empty penalty game.
    BoardState without = withPenalty;
    without.assistant.clear();
    t.b.logic.restore(without, false);
    EXPECT_EQ(t.b.number(FieldId::PenaltyPH1), -1);
    EXPECT_EQ(t.a->assistant().save(), PenaltyAssistant().save());
    // A text it cannot read changes nothing.
    t.act({kTime, "^H7M\n", 0});
    BoardState garbled = t.b.logic.state();
    garbled.assistant = QStringLiteral("penalties1;A H x");
    t.b.logic.restore(garbled, false);
    EXPECT_EQ(t.b.number(FieldId::PenaltyPH1), 7);
}

TEST(AssistedBoard, UndoAndRedoKeys) {
    Assisted t;
    t.act({kTime, "^H7M\n^Z", 0});
    EXPECT_EQ(t.b.number(FieldId::PenaltyPH1), -1);
    t.act({kTime, "^Y", 0});
    EXPECT_EQ(t.b.number(FieldId::PenaltyPH1), 7);
    EXPECT_NE(t.a->operatorLine().find("H 4 on 5 V"), std::string::npos);
}

// The timekeeper's corrections on the board draw the slots at once.
TEST(AssistedBoard, CorrectionsDrawTheSlots) {
    Assisted t;
    t.act({kTime, "^H7M\n", 0});
    ToldEvent event = t.a->assistant().told().at(0);
    event.team = Team::Guest;
    ASSERT_TRUE(t.a->correct(0, event));
    EXPECT_EQ(t.b.number(FieldId::PenaltyPH1), -1);
    EXPECT_EQ(t.b.number(FieldId::PenaltyPV1), 7);
    ASSERT_TRUE(t.a->remove(0));
    EXPECT_EQ(t.b.number(FieldId::PenaltyPV1), -1);
}

} // namespace
