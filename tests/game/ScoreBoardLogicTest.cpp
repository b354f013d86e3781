#include "game/BoardHarness.h"

#include "game/ClockFace.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

using namespace boardtest;

namespace {

const std::array<EntryBox, kEntryBoxCount> kAllBoxes{
    EntryBox::TimeBack,   EntryBox::HomeBack,   EntryBox::VisitorBack, EntryBox::picGoalBack,
    EntryBox::ShotsBackH, EntryBox::PeriodBack, EntryBox::ShotsBackV,  EntryBox::PenaltyPH1,
    EntryBox::PenaltyTH1, EntryBox::PenaltyPV1, EntryBox::PenaltyTV1,  EntryBox::PenaltyPH2,
    EntryBox::PenaltyTH2, EntryBox::PenaltyPV2, EntryBox::PenaltyTV2,
};

class BoardLogic : public ::testing::Test {
  protected:
    void SetUp() override { b.load(); }
    BoardHarness b;
};

// ---- load ---------------------------------------------------------------------------------

TEST_F(BoardLogic, LoadShowsTenMinutesStoppedWithEverythingDark) {
    EXPECT_EQ(b.digits(FieldId::Time), (std::vector<int>{1, 0, 0, 0}));
    EXPECT_EQ(b.view.clockColon(), Lamp::Lit);
    EXPECT_EQ(b.counter(0), secs(600));
    EXPECT_EQ(b.logic.ResetTime(), secs(600));
    EXPECT_FALSE(b.running(0));
    EXPECT_FALSE(b.view.timerEnabled());
    for (int slot = 1; slot <= 4; ++slot) {
        EXPECT_EQ(b.view.penaltyLamp(slot), Lamp::Dark) << slot;
        EXPECT_EQ(b.view.penaltyColon(slot), Lamp::Dark) << slot;
    }
    EXPECT_EQ(b.view.homeGoal(), Lamp::Dark);
    EXPECT_EQ(b.view.visitorGoal(), Lamp::Dark);
    EXPECT_EQ(b.logic.WhoGoal(), 0);
    EXPECT_EQ(b.view.buzzers() + b.view.horns() + b.view.beeps(), 0);
}

TEST(BoardLoad, FormLoadAloneDrawsClockAndPenaltyLamps) {
    BoardHarness h;
    h.logic.Form_Load();
    EXPECT_EQ(h.digits(FieldId::Time), (std::vector<int>{1, 0, 0, 0}));
    EXPECT_EQ(h.view.clockColon(), Lamp::Lit);
    for (int slot = 1; slot <= 4; ++slot)
        EXPECT_EQ(h.view.penaltyLamp(slot), Lamp::Dark) << slot;
}

// ---- start/stop and reset -----------------------------------------------------------------

TEST_F(BoardLogic, StartStopKeyTogglesAllFiveCountersAndTheTimer) {
    b.press(EntryBox::TimeBack, 'S');
    for (int i = 0; i < modCount::kCounters; ++i)
        EXPECT_TRUE(b.running(i)) << i;
    EXPECT_TRUE(b.view.timerEnabled());

    b.run(1000);
    EXPECT_EQ(b.digits(FieldId::Time), (std::vector<int>{B, 9, 5, 9})); // 599.0 lifts to 9:59

    b.press(EntryBox::TimeBack, 'S');
    for (int i = 0; i < modCount::kCounters; ++i)
        EXPECT_FALSE(b.running(i)) << i;
    EXPECT_FALSE(b.view.timerEnabled());
    EXPECT_EQ(b.counter(0), secs(599));
}

// Stopped after 30 s, then started and stopped again before the next tick: neither the game
// clock nor a running penalty moves.
TEST_F(BoardLogic, StartAndStopBeforeATickKeepEveryClock) {
    for (const std::int64_t gapMs : {0, 50, 99, 250}) { // 250: a tick held up
        SCOPED_TRACE(gapMs);
        b.load();
        b.type(EntryBox::PenaltyTH1, "2\n");
        b.press(EntryBox::TimeBack, 'S');
        b.run(30'000);
        b.press(EntryBox::TimeBack, 'S');
        ASSERT_EQ(b.counter(0), secs(570));
        ASSERT_EQ(b.counter(1), secs(90));
        b.press(EntryBox::TimeBack, 'S');
        b.time.advance(gapMs);
        b.press(EntryBox::TimeBack, 'S');
        EXPECT_EQ(b.counter(0), secs(570));
        EXPECT_EQ(b.counter(1), secs(90));
        EXPECT_FALSE(b.view.timerEnabled());
    }
}

TEST_F(BoardLogic, StartStopActsExactlyOnceInEveryBox) {
    for (EntryBox box : kAllBoxes) {
        const bool before = b.running(0);
        b.press(box, 'S');
        EXPECT_NE(b.running(0), before) << static_cast<int>(box);
        EXPECT_EQ(b.view.timerEnabled(), b.running(0)) << static_cast<int>(box);
    }
}

TEST_F(BoardLogic, StoppingBetweenTicksKeepsTheValueLastDrawn) {
    b.press(EntryBox::HomeBack, 'S');
    b.run(1000);
    b.time.advance(250); // no tick reads the counter in between
    b.press(EntryBox::HomeBack, 'S');
    EXPECT_EQ(b.counter(0), secs(599));
    EXPECT_EQ(b.digits(FieldId::Time), asVector(clockFace(secs(599)).digits));
}

TEST_F(BoardLogic, ResetSetsTheClockBackToTheLastEnteredTime) {
    b.type(EntryBox::TimeBack, "5\n");
    b.press(EntryBox::TimeBack, 'S');
    b.run(3000);
    b.press(EntryBox::TimeBack, 'S');
    ASSERT_EQ(b.counter(0), secs(297));
    b.press(EntryBox::PeriodBack, 'R');
    EXPECT_EQ(b.counter(0), secs(300));
    EXPECT_EQ(b.digits(FieldId::Time), (std::vector<int>{B, 5, 0, 0}));
}

TEST_F(BoardLogic, ResetWhileRunningStopsEverythingAndPenaltiesKeepTheirTime) {
    b.type(EntryBox::PenaltyTH1, "2\n");
    b.press(EntryBox::HomeBack, 'S');
    b.run(5000);
    b.press(EntryBox::HomeBack, 'R');
    for (int i = 0; i < modCount::kCounters; ++i)
        EXPECT_FALSE(b.running(i)) << i;
    EXPECT_FALSE(b.view.timerEnabled());
    EXPECT_EQ(b.counter(0), secs(600));
    EXPECT_EQ(b.digits(FieldId::Time), (std::vector<int>{1, 0, 0, 0}));
    EXPECT_EQ(b.counter(1), secs(115));
    EXPECT_EQ(b.digits(FieldId::PenaltyTH1), (std::vector<int>{5, 5, 1}));
}

// ---- the tick that reaches zero -----------------------------------------------------------

TEST_F(BoardLogic, TickReachingZeroShowsZeroBuzzesOnceAndStopsTheTimer) {
    b.type(EntryBox::TimeBack, "0.015\n"); // 1.5 s
    b.type(EntryBox::PenaltyTH1, "2\n");
    b.press(EntryBox::TimeBack, 'S');
    b.run(1400);
    EXPECT_EQ(b.view.buzzers(), 0);
    b.run(100);
    EXPECT_EQ(b.digits(FieldId::Time), (std::vector<int>{B, 0, 0, B}));
    EXPECT_EQ(b.view.clockColon(), Lamp::Dark);
    EXPECT_EQ(b.view.buzzers(), 1);
    EXPECT_FALSE(b.view.timerEnabled());
    EXPECT_TRUE(b.running(0)); // flagged until start/stop

    // The screen stands, and the penalty freezes with the game clock.
    const std::vector<int> penalty = b.digits(FieldId::PenaltyTH1);
    b.run(10000);
    EXPECT_EQ(b.view.buzzers(), 1);
    EXPECT_EQ(b.digits(FieldId::PenaltyTH1), penalty);
    b.press(EntryBox::TimeBack, 'S');
    EXPECT_EQ(b.counter(1), tenths(1185));
    EXPECT_EQ(b.view.buzzers(), 1);

    // Started again at zero: the next tick buzzes again and stops the timer again.
    b.press(EntryBox::TimeBack, 'S');
    EXPECT_TRUE(b.view.timerEnabled());
    b.run(100);
    EXPECT_EQ(b.view.buzzers(), 2);
    EXPECT_FALSE(b.view.timerEnabled());
}

TEST_F(BoardLogic, PenaltiesLoseNoTimeWhileTheClockStandsAtZero) {
    b.type(EntryBox::TimeBack, "0.015\n");
    b.type(EntryBox::PenaltyTH1, "2\n");
    b.type(EntryBox::PenaltyTV2, ".10\n"); // would run out during the stand
    b.press(EntryBox::TimeBack, 'S');
    b.run(1500);
    ASSERT_FALSE(b.view.timerEnabled());

    // Everything that redraws the penalty lamps while the clock stands: a penalty typed into
    // another slot, a slot cleared, the redraw after the options dialog.
    b.run(30000);
    b.type(EntryBox::PenaltyTH2, "2\n");
    b.press(EntryBox::PenaltyPV1, vk::Delete);
    b.logic.Penalty();
    EXPECT_EQ(b.view.penaltyLamp(1), Lamp::Lit);
    EXPECT_EQ(b.view.penaltyLamp(4), Lamp::Lit);

    b.press(EntryBox::TimeBack, 'S');
    EXPECT_EQ(b.counter(1), tenths(1185));
    EXPECT_EQ(b.counter(4), tenths(85));
    b.type(EntryBox::TimeBack, "1\n");
    b.press(EntryBox::TimeBack, 'S');
    b.run(1000);
    EXPECT_EQ(b.counter(1), tenths(1175));
    EXPECT_EQ(b.counter(2), secs(119));
}

// ---- configured keys ----------------------------------------------------------------------

TEST_F(BoardLogic, ResetKeyEqualToStartStopOnlyToggles) {
    b.settings.ResetClockKey = b.settings.StartStopClockKey;
    b.press(EntryBox::HomeBack, 'S');
    b.run(2000);
    b.press(EntryBox::HomeBack, 'S');
    EXPECT_FALSE(b.running(0));
    EXPECT_EQ(b.counter(0), secs(598)); // a reset would have gone back to 600
}

TEST_F(BoardLogic, HornKeyEqualToBuzzerKeyOnlyBuzzes) {
    b.settings.HornKey = b.settings.BuzzerKey;
    b.press(EntryBox::picGoalBack, 'B');
    EXPECT_EQ(b.view.buzzers(), 1);
    EXPECT_EQ(b.view.horns(), 0);
}

TEST_F(BoardLogic, ConfiguredKeysTakeF1AndF2Away) {
    b.settings.StartStopClockKey = vk::F1;
    b.settings.HornKey = vk::F2;
    b.press(EntryBox::HomeBack, vk::F1);
    b.press(EntryBox::HomeBack, vk::F2);
    EXPECT_TRUE(b.running(0));
    EXPECT_EQ(b.view.horns(), 1);
    EXPECT_EQ(b.view.helps() + b.view.options(), 0);
}

TEST_F(BoardLogic, KeysChangedBetweenPressesActAtOnce) {
    b.press(EntryBox::HomeBack, 'G');
    b.settings.HornKey = 'H';
    b.press(EntryBox::HomeBack, 'G');
    b.press(EntryBox::HomeBack, 'H');
    EXPECT_EQ(b.view.horns(), 2);
}

TEST_F(BoardLogic, HornKeyOnADigitSoundsAndStillTypes) {
    b.settings.HornKey = '5';
    b.type(EntryBox::HomeBack, "5\n");
    b.type(EntryBox::TimeBack, "5\n");
    EXPECT_EQ(b.view.horns(), 2);
    EXPECT_EQ(b.number(FieldId::Home), 5);
    EXPECT_EQ(b.counter(0), secs(300));
}

TEST_F(BoardLogic, ClearKeyOnEnterKeepsEntersMeaning) {
    b.settings.ClearKey = vk::Return;
    b.type(EntryBox::HomeBack, "7\n");
    EXPECT_EQ(b.number(FieldId::Home), 7);

    // In a penalty box the slot is still cleared first, then Enter applies the text.
    b.type(EntryBox::PenaltyPH1, "12\n");
    b.type(EntryBox::PenaltyTH1, "2\n");
    EXPECT_EQ(b.number(FieldId::PenaltyPH1), B);
    EXPECT_EQ(b.digits(FieldId::PenaltyTH1), (std::vector<int>{0, 0, 2}));
    b.type(EntryBox::PenaltyPH1, "34\n");
    EXPECT_EQ(b.number(FieldId::PenaltyPH1), 34);
    EXPECT_EQ(b.digits(FieldId::PenaltyTH1), (std::vector<int>{B, B, B}));
    EXPECT_EQ(b.view.penaltyLamp(1), Lamp::Dark);
}

TEST_F(BoardLogic, ClearKeyOnADigitBlanksInsteadOfTyping) {
    b.settings.ClearKey = '9';
    b.type(EntryBox::HomeBack, "12\n9");
    EXPECT_EQ(b.digits(FieldId::Home), (std::vector<int>{B, B, B}));
}

TEST_F(BoardLogic, HelpOptionsAndNumLock) {
    b.press(EntryBox::PenaltyTV2, vk::F1);
    b.press(EntryBox::picGoalBack, vk::F2);
    EXPECT_EQ(b.view.helps(), 1);
    EXPECT_EQ(b.view.options(), 1);

    b.logic.AllKeyUp(vk::NumLock, 1);
    b.logic.AllKeyUp('S', 0);
    b.press(EntryBox::HomeBack, vk::NumLock);
    EXPECT_EQ(b.view.numLockUpdates(), 1);
    EXPECT_FALSE(b.running(0));
}

// ---- number entry through the boxes -------------------------------------------------------

struct NumberRow {
    const char* name;
    std::vector<std::pair<EntryBox, std::string>> steps;
    FieldId field;
    std::vector<int> digits;
};

void PrintTo(const NumberRow& row, std::ostream* os) {
    *os << row.name;
}

class NumberEntryTable : public ::testing::TestWithParam<NumberRow> {};

TEST_P(NumberEntryTable, LeavesTheField) {
    const NumberRow& row = GetParam();
    BoardHarness h;
    h.load();
    for (const auto& [box, keys] : row.steps)
        h.type(box, keys);
    EXPECT_EQ(h.digits(row.field), row.digits);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, NumberEntryTable,
    ::testing::Values(
        NumberRow{"HomeTwelve", {{EntryBox::HomeBack, "12\n"}}, FieldId::Home, {2, 1, B}},
        NumberRow{"HomeHundredFive", {{EntryBox::HomeBack, "105\n"}}, FieldId::Home, {5, 0, 1}},
        NumberRow{"HomePlusOneAtOnce", {{EntryBox::HomeBack, "+1"}}, FieldId::Home, {1, B, B}},
        NumberRow{"HomeMinusOneBlanks", {{EntryBox::HomeBack, "-1"}}, FieldId::Home, {B, B, B}},
        NumberRow{"HomeAbove199Kept", {{EntryBox::HomeBack, "199\n+1"}}, FieldId::Home, {9, 9, 1}},
        NumberRow{
            "VisitorLeadingZeros", {{EntryBox::VisitorBack, "007\n"}}, FieldId::Visitor, {7, B, B}},
        NumberRow{
            "ShotsAbove99Dropped", {{EntryBox::ShotsBackH, "5\n123\n"}}, FieldId::SOGH, {5, B}},
        NumberRow{"ShotsVisitor", {{EntryBox::ShotsBackV, "42\n"}}, FieldId::SOGV, {2, 4}},
        NumberRow{"PeriodAtOnce", {{EntryBox::PeriodBack, "37"}}, FieldId::Period, {7}},
        NumberRow{"PeriodAbove9Kept", {{EntryBox::PeriodBack, "7+4"}}, FieldId::Period, {7}},
        NumberRow{"PlayerNumber", {{EntryBox::PenaltyPV2, "23\n"}}, FieldId::PenaltyPV2, {3, 2}},
        NumberRow{"PlayerAbove99", {{EntryBox::PenaltyPH2, "100\n"}}, FieldId::PenaltyPH2, {B, B}},
        NumberRow{"OtherNumberFieldDropsText",
                  {{EntryBox::HomeBack, "5"}, {EntryBox::VisitorBack, "6\n"}},
                  FieldId::Home,
                  {0, B, B}},
        NumberRow{
            "TimeFieldKeepsNumberText",
            {{EntryBox::HomeBack, "5"}, {EntryBox::TimeBack, "1"}, {EntryBox::HomeBack, "6\n"}},
            FieldId::Home,
            {6, 5, B}},
        NumberRow{"FunctionKeyLettersAreNotTyped",
                  {{EntryBox::HomeBack, "1SS2\n"}},
                  FieldId::Home,
                  {2, 1, B}}),
    [](const ::testing::TestParamInfo<NumberRow>& info) { return std::string(info.param.name); });

TEST_F(BoardLogic, ClearKeyBlanksANumberButNotThePeriod) {
    b.type(EntryBox::PeriodBack, "3");
    b.press(EntryBox::PeriodBack, vk::Delete);
    EXPECT_EQ(b.digits(FieldId::Period), (std::vector<int>{3}));

    b.type(EntryBox::HomeBack, "5");
    b.press(EntryBox::HomeBack, vk::Delete);
    EXPECT_EQ(b.digits(FieldId::Home), (std::vector<int>{B, B, B}));
    b.type(EntryBox::HomeBack, "\n"); // the typed 5 survived the clear key
    EXPECT_EQ(b.number(FieldId::Home), 5);
}

TEST_F(BoardLogic, NumericPadDigitsType) {
    b.press(EntryBox::ShotsBackV, vk::Numpad0 + 3);
    b.press(EntryBox::ShotsBackV, vk::Numpad0 + 1);
    b.press(EntryBox::ShotsBackV, vk::Return);
    b.press(EntryBox::ShotsBackV, vk::Add);
    b.press(EntryBox::ShotsBackV, vk::Numpad0 + 2);
    EXPECT_EQ(b.number(FieldId::SOGV), 33);
}

// ---- time entry on the clock --------------------------------------------------------------

struct ClockRow {
    const char* name;
    std::string keys;
    GameTime clock; // counter 0 and the reset value afterwards
    std::vector<int> digits;
    Lamp colon;
};

void PrintTo(const ClockRow& row, std::ostream* os) {
    *os << row.name;
}

class ClockEntryTable : public ::testing::TestWithParam<ClockRow> {};

TEST_P(ClockEntryTable, SetsClockAndResetValue) {
    const ClockRow& row = GetParam();
    BoardHarness h;
    h.load();
    h.type(EntryBox::TimeBack, "7\n"); // start from 7:00 so a rejected entry shows
    h.type(EntryBox::TimeBack, row.keys);
    EXPECT_EQ(h.counter(0), row.clock);
    EXPECT_EQ(h.logic.ResetTime(), row.clock);
    EXPECT_EQ(h.digits(FieldId::Time), row.digits);
    EXPECT_EQ(h.view.clockColon(), row.colon);
    EXPECT_FALSE(h.running(0));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ClockEntryTable,
    ::testing::Values(ClockRow{"TenMinutes", "10\n", secs(600), {1, 0, 0, 0}, Lamp::Lit},
                      ClockRow{"TenthsMode", "0.455\n", tenths(455), {4, 5, 5, B}, Lamp::Dark},
                      ClockRow{"Largest", "99.59\n", secs(5999), {9, 9, 5, 9}, Lamp::Lit},
                      ClockRow{
                          "AboveLimitByATenth", "99.591\n", secs(420), {B, 7, 0, 0}, Lamp::Lit},
                      ClockRow{"MinutesAbove99", "100\n", secs(420), {B, 7, 0, 0}, Lamp::Lit},
                      ClockRow{"TwoPoints", "1.2.3\n", secs(420), {B, 7, 0, 0}, Lamp::Lit},
                      ClockRow{"NineCharacters", "1.2345678\n", secs(420), {B, 7, 0, 0}, Lamp::Lit},
                      ClockRow{"LetterIgnored", "1A\n", secs(60), {B, 1, 0, 0}, Lamp::Lit},
                      ClockRow{"SecondsAbove59AddUp", "1.75\n", secs(135), {B, 2, 1, 5}, Lamp::Lit},
                      ClockRow{"SpaceDiscards", "5 3\n", secs(180), {B, 3, 0, 0}, Lamp::Lit},
                      ClockRow{"EnterAloneIsZero", "\n", secs(0), {B, 0, 0, B}, Lamp::Dark},
                      ClockRow{"TenthOfASecond", "1.305\n", tenths(905), {B, 1, 3, 1}, Lamp::Lit}),
    [](const ::testing::TestParamInfo<ClockRow>& info) { return std::string(info.param.name); });

TEST_F(BoardLogic, AcceptedClockEntryStopsARunningClock) {
    b.type(EntryBox::PenaltyTH1, "2\n");
    b.press(EntryBox::TimeBack, 'S');
    b.run(3000);
    b.type(EntryBox::TimeBack, "100\n"); // rejected: the clock runs on
    EXPECT_TRUE(b.running(0));
    EXPECT_TRUE(b.view.timerEnabled());

    b.type(EntryBox::TimeBack, "5\n");
    for (int i = 0; i < modCount::kCounters; ++i)
        EXPECT_FALSE(b.running(i)) << i;
    EXPECT_FALSE(b.view.timerEnabled());
    EXPECT_EQ(b.counter(0), secs(300));
    EXPECT_EQ(b.counter(1), secs(117));
}

TEST_F(BoardLogic, ClearKeyOnTheClockDoesNothing) {
    b.type(EntryBox::PenaltyTV1, "2\n");
    b.type(EntryBox::TimeBack, "3");
    b.press(EntryBox::TimeBack, vk::Delete);
    EXPECT_EQ(b.digits(FieldId::Time), (std::vector<int>{1, 0, 0, 0}));
    EXPECT_EQ(b.counter(3), secs(120));
    b.type(EntryBox::TimeBack, "\n"); // the clear key is no character of a time
    EXPECT_EQ(b.counter(0), secs(180));
}

// ---- time entry on the penalties ----------------------------------------------------------

TEST_F(BoardLogic, PenaltyEntryLightsItsSlotAndWaitsForTheClock) {
    b.type(EntryBox::PenaltyTH1, "2\n");
    EXPECT_EQ(b.counter(1), secs(120));
    EXPECT_FALSE(b.running(1));
    EXPECT_EQ(b.digits(FieldId::PenaltyTH1), (std::vector<int>{0, 0, 2}));
    EXPECT_EQ(b.view.penaltyLamp(1), Lamp::Lit);
    EXPECT_EQ(b.view.penaltyColon(1), Lamp::Lit);
    for (int slot = 2; slot <= 4; ++slot) {
        EXPECT_EQ(b.view.penaltyLamp(slot), Lamp::Dark) << slot;
        EXPECT_EQ(b.view.penaltyColon(slot), Lamp::Dark) << slot;
    }
    b.run(5000);
    EXPECT_EQ(b.counter(1), secs(120));
}

TEST_F(BoardLogic, PenaltyAboveNineFiftyNineIsRejected) {
    b.type(EntryBox::PenaltyTH1, "10\n");
    EXPECT_EQ(b.digits(FieldId::PenaltyTH1), (std::vector<int>{B, B, B}));
    EXPECT_EQ(b.view.penaltyLamp(1), Lamp::Dark);
    EXPECT_EQ(b.view.penaltyColon(1), Lamp::Dark);
    EXPECT_EQ(b.counter(1), secs(0));
}

TEST_F(BoardLogic, MovingToAnotherTimeFieldDropsTheTypedTime) {
    b.type(EntryBox::TimeBack, "1");
    b.type(EntryBox::PenaltyTV1, "3\n");
    EXPECT_EQ(b.counter(3), secs(180));
    EXPECT_EQ(b.digits(FieldId::PenaltyTV1), (std::vector<int>{0, 0, 3}));
    EXPECT_EQ(b.counter(0), secs(600));
}

TEST_F(BoardLogic, EnterAloneOnAPenaltyShowsZeroWithColonButDarkLamp) {
    b.type(EntryBox::PenaltyTH2, "\n");
    EXPECT_EQ(b.digits(FieldId::PenaltyTH2), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(b.view.penaltyColon(2), Lamp::Lit);
    EXPECT_EQ(b.view.penaltyLamp(2), Lamp::Dark);
}

struct RoundingRow {
    const char* keys;
    GameTime seconds;
};

void PrintTo(const RoundingRow& row, std::ostream* os) {
    std::string keys = row.keys;
    keys.pop_back(); // Enter
    *os << keys << " Enter";
}

class PenaltyRounding : public ::testing::TestWithParam<RoundingRow> {};

TEST_P(PenaltyRounding, WholeSecondsHalfToEven) {
    BoardHarness h;
    h.load();
    h.type(EntryBox::PenaltyTV2, GetParam().keys);
    EXPECT_EQ(h.counter(4), GetParam().seconds) << GetParam().keys;
    EXPECT_EQ(h.digits(FieldId::PenaltyTV2), asVector(penaltyFace(GetParam().seconds)));
}

INSTANTIATE_TEST_SUITE_P(
    Halves, PenaltyRounding,
    ::testing::Values(RoundingRow{"2.305\n", secs(150)}, RoundingRow{"2.315\n", secs(152)},
                      RoundingRow{"2.304\n", secs(150)}, RoundingRow{"2.306\n", secs(151)},
                      RoundingRow{"0.005\n", secs(0)}, RoundingRow{"9.585\n", secs(598)}));

TEST_F(BoardLogic, PenaltyEntryLeavesARunningClockRunning) {
    b.press(EntryBox::TimeBack, 'S');
    b.run(1000);
    b.type(EntryBox::PenaltyTH1, "2\n");
    EXPECT_TRUE(b.running(0));
    EXPECT_TRUE(b.view.timerEnabled());
    EXPECT_FALSE(b.running(1)); // waits for the next start
    b.run(2000);
    EXPECT_EQ(b.counter(1), secs(120));
    b.press(EntryBox::TimeBack, 'S');
    b.press(EntryBox::TimeBack, 'S');
    b.run(2000);
    EXPECT_EQ(b.counter(1), secs(118));
}

// ---- penalties over a running clock -------------------------------------------------------

TEST_F(BoardLogic, OneMinutePenaltyRunsOutWithTheClock) {
    b.type(EntryBox::PenaltyTH1, "1\n");
    b.press(EntryBox::TimeBack, 'S');
    b.run(1000);
    EXPECT_EQ(b.digits(FieldId::PenaltyTH1), (std::vector<int>{9, 5, 0}));
    EXPECT_EQ(b.view.penaltyLamp(1), Lamp::Lit);
    b.run(58900);
    EXPECT_EQ(b.view.penaltyLamp(1), Lamp::Lit);
    b.run(100);
    EXPECT_EQ(b.digits(FieldId::PenaltyTH1), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(b.view.penaltyLamp(1), Lamp::Dark);
    EXPECT_EQ(b.view.penaltyColon(1), Lamp::Lit);
    EXPECT_EQ(b.digits(FieldId::Time), (std::vector<int>{B, 9, 0, 0}));
    b.run(5000); // stays at 0:00 until cleared
    EXPECT_EQ(b.digits(FieldId::PenaltyTH1), (std::vector<int>{0, 0, 0}));
}

TEST_F(BoardLogic, PenaltyFreezesWithStartStop) {
    b.type(EntryBox::PenaltyTV1, "1\n");
    b.press(EntryBox::TimeBack, 'S');
    b.run(10000);
    b.press(EntryBox::TimeBack, 'S');
    b.run(5000);
    EXPECT_EQ(b.counter(3), secs(50));
    EXPECT_EQ(b.digits(FieldId::PenaltyTV1), (std::vector<int>{0, 5, 0}));
}

TEST_F(BoardLogic, ClearingOneSlotLeavesTheOthersRunning) {
    b.type(EntryBox::PenaltyTH1, "1\n");
    b.type(EntryBox::PenaltyTH2, "2\n");
    b.type(EntryBox::PenaltyTV1, "3\n");
    b.type(EntryBox::PenaltyTV2, "4\n");
    b.type(EntryBox::PenaltyPH2, "17\n");
    b.press(EntryBox::TimeBack, 'S');
    b.run(5000);
    b.press(EntryBox::PenaltyTH2, vk::Delete);

    EXPECT_EQ(b.digits(FieldId::PenaltyTH2), (std::vector<int>{B, B, B}));
    EXPECT_EQ(b.digits(FieldId::PenaltyPH2), (std::vector<int>{B, B}));
    EXPECT_EQ(b.view.penaltyColon(2), Lamp::Dark);
    EXPECT_EQ(b.view.penaltyLamp(2), Lamp::Dark);
    EXPECT_EQ(b.counter(2), secs(0));
    for (int i : {0, 1, 3, 4})
        EXPECT_TRUE(b.running(i)) << i;
    EXPECT_TRUE(b.view.timerEnabled());

    b.run(5000);
    EXPECT_EQ(b.digits(FieldId::PenaltyTH1), (std::vector<int>{0, 5, 0}));
    EXPECT_EQ(b.digits(FieldId::PenaltyTV1), (std::vector<int>{0, 5, 2}));
    EXPECT_EQ(b.digits(FieldId::PenaltyTV2), (std::vector<int>{0, 5, 3}));
    EXPECT_EQ(b.digits(FieldId::PenaltyTH2), (std::vector<int>{B, B, B})); // free: not drawn
    EXPECT_EQ(b.counter(0), secs(590));
}

TEST_F(BoardLogic, ClearKeyInThePlayerBoxFreesTheSlot) {
    b.type(EntryBox::PenaltyPH1, "12\n");
    b.type(EntryBox::PenaltyTH1, "2\n");
    b.press(EntryBox::PenaltyPH1, vk::Delete);
    EXPECT_EQ(b.digits(FieldId::PenaltyPH1), (std::vector<int>{B, B}));
    EXPECT_EQ(b.digits(FieldId::PenaltyTH1), (std::vector<int>{B, B, B}));
    EXPECT_EQ(b.view.penaltyLamp(1), Lamp::Dark);
    EXPECT_EQ(b.view.penaltyColon(1), Lamp::Dark);
    EXPECT_EQ(b.counter(1), secs(0));
}

TEST_F(BoardLogic, TwoPenaltiesOfOneTeamRunIndependently) {
    b.type(EntryBox::PenaltyTH1, ".30\n");
    b.type(EntryBox::PenaltyTH2, "2\n");
    b.press(EntryBox::TimeBack, 'S');
    b.run(30000);
    EXPECT_EQ(b.digits(FieldId::PenaltyTH1), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(b.view.penaltyLamp(1), Lamp::Dark);
    EXPECT_EQ(b.digits(FieldId::PenaltyTH2), (std::vector<int>{0, 3, 1}));
    EXPECT_EQ(b.view.penaltyLamp(2), Lamp::Lit);
    b.run(10000);
    EXPECT_EQ(b.digits(FieldId::PenaltyTH2), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(b.digits(FieldId::PenaltyTH1), (std::vector<int>{0, 0, 0}));
}

TEST_F(BoardLogic, ClearPenaltyIgnoresSlotsOutsideOneToFour) {
    b.type(EntryBox::PenaltyTH1, "2\n");
    b.logic.ClearPenalty(0);
    b.logic.ClearPenalty(5);
    EXPECT_EQ(b.counter(1), secs(120));
    EXPECT_EQ(b.digits(FieldId::PenaltyTH1), (std::vector<int>{0, 0, 2}));
}

// ---- goal lamps ---------------------------------------------------------------------------

TEST_F(BoardLogic, ArrowsInTheGoalStripWorkTheLamps) {
    const struct {
        int key;
        int who;
        Lamp home;
        Lamp visitor;
    } steps[] = {
        {vk::Left, 1, Lamp::Lit, Lamp::Dark},   {vk::Left, 1, Lamp::Lit, Lamp::Dark},
        {vk::Right, 2, Lamp::Dark, Lamp::Lit},  {vk::Up, 2, Lamp::Dark, Lamp::Lit},
        {'A', 2, Lamp::Dark, Lamp::Lit},        {'5', 2, Lamp::Dark, Lamp::Lit},
        {vk::Return, 2, Lamp::Dark, Lamp::Lit}, {vk::Down, 0, Lamp::Dark, Lamp::Dark},
    };
    for (const auto& s : steps) {
        b.press(EntryBox::picGoalBack, s.key);
        EXPECT_EQ(b.logic.WhoGoal(), s.who) << s.key;
        EXPECT_EQ(b.view.homeGoal(), s.home) << s.key;
        EXPECT_EQ(b.view.visitorGoal(), s.visitor) << s.key;
    }
}

TEST_F(BoardLogic, FunctionKeysStillActInTheGoalStrip) {
    b.press(EntryBox::picGoalBack, vk::Left);
    b.press(EntryBox::picGoalBack, 'S');
    b.press(EntryBox::picGoalBack, 'G');
    EXPECT_TRUE(b.running(0));
    EXPECT_EQ(b.view.horns(), 1);
    EXPECT_EQ(b.logic.WhoGoal(), 1);
}

TEST_F(BoardLogic, LampClicksToggleAndSwitchOver) {
    const struct {
        int team;
        int who;
    } clicks[] = {{1, 1}, {1, 0}, {2, 2}, {1, 1}, {2, 2}, {2, 0}, {3, 0}, {0, 0}};
    for (const auto& c : clicks) {
        b.logic.GoalLampClicked(c.team);
        EXPECT_EQ(b.logic.WhoGoal(), c.who) << c.team;
        EXPECT_EQ(b.view.homeGoal(), c.who == 1 ? Lamp::Lit : Lamp::Dark);
        EXPECT_EQ(b.view.visitorGoal(), c.who == 2 ? Lamp::Lit : Lamp::Dark);
    }
}

TEST_F(BoardLogic, ArrowsInOtherBoxesLeaveTheLampsAlone) {
    for (EntryBox box : kAllBoxes) {
        if (box == EntryBox::picGoalBack)
            continue;
        for (int key : {vk::Left, vk::Right, vk::Down, vk::Up})
            b.press(box, key);
        EXPECT_EQ(b.logic.WhoGoal(), 0) << static_cast<int>(box);
    }
    b.logic.GoalLampClicked(2);
    b.press(EntryBox::HomeBack, vk::Down);
    EXPECT_EQ(b.logic.WhoGoal(), 2);
    EXPECT_EQ(b.view.visitorGoal(), Lamp::Lit);
}

} // namespace
