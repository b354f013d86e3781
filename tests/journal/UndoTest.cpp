#include "JournalHarness.h"

#include <gtest/gtest.h>

using namespace journaltest;

namespace {

// A scripted change, then undo and redo: what the board shows after each.
struct UndoCase {
    const char* name;
    void (*play)(JournalHarness& h);
    FieldId field; // the field the change is about
    int before;    // its value after undo
    int after;     // its value after redo
};

const UndoCase kCases[] = {
    {"TypedScore", [](JournalHarness& h) { h.type(EntryBox::HomeBack, "7\n"); }, FieldId::Home, 0,
     7},
    {"AddedGoal",
     [](JournalHarness& h) {
         h.type(EntryBox::VisitorBack, "2\n");
         h.type(EntryBox::VisitorBack, "+1\n");
     },
     FieldId::Visitor, 2, 3},
    {"BlankedShots",
     [](JournalHarness& h) {
         h.type(EntryBox::ShotsBackH, "15\n");
         h.press(EntryBox::ShotsBackH, vk::Delete);
     },
     FieldId::SOGH, 15, -1},
    {"Period", [](JournalHarness& h) { h.type(EntryBox::PeriodBack, "3"); }, FieldId::Period, 0, 3},
    {"PenaltyPlayer", [](JournalHarness& h) { h.type(EntryBox::PenaltyPV2, "44\n"); },
     FieldId::PenaltyPV2, -1, 44},
    // Undo skips what is not an operator's change: the clock's start, its running time.
    {"ScoreWhileTheClockRan",
     [](JournalHarness& h) {
         h.press(EntryBox::TimeBack, 'S');
         h.run(1500);
         h.type(EntryBox::HomeBack, "1\n");
         h.run(1500);
     },
     FieldId::Home, 0, 1},
};

class UndoRedo : public ::testing::TestWithParam<UndoCase> {};

TEST_P(UndoRedo, UndoPutsTheLastChangeBackAndRedoAgain) {
    const UndoCase& c = GetParam();
    QTemporaryDir dir;
    JournalHarness h(dir.path());
    c.play(h);
    const BoardState played = h.b().logic.state();
    h.undo();
    EXPECT_EQ(h.b().number(c.field), c.before);
    h.redo();
    EXPECT_EQ(h.b().number(c.field), c.after);
    // The clock ran on through undo and redo: its time is real.
    EXPECT_EQ(h.b().logic.state().clockTenths, played.clockTenths);
    EXPECT_EQ(h.b().logic.state().clockRunning, played.clockRunning);
    // Undo and redo are in the journal: a restart shows the board as it stands.
    EXPECT_EQ(replayRows(h.rows()), h.b().logic.state());
}

INSTANTIATE_TEST_SUITE_P(Changes, UndoRedo, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Undoing a typed penalty frees the slot; redo puts the penalty back with its lamp.
TEST(UndoPenalty, FreesTheSlotAndRedoPutsItBack) {
    QTemporaryDir dir;
    JournalHarness h(dir.path());
    h.type(EntryBox::PenaltyTH1, "2\n");
    h.undo();
    EXPECT_EQ(h.b().logic.state().penalties[0].time, "");
    EXPECT_EQ(h.b().view.penaltyLamp(1), boardtest::Lamp::Dark);
    h.redo();
    EXPECT_EQ(h.b().logic.state().penalties[0].time, "2:00");
    EXPECT_EQ(h.b().view.penaltyLamp(1), boardtest::Lamp::Lit);
}

// Undo of a typed clock time brings back the earlier set value and reset value.
TEST(UndoClock, BringsBackTheSetValue) {
    QTemporaryDir dir;
    JournalHarness h(dir.path());
    h.type(EntryBox::TimeBack, "20\n");
    ASSERT_EQ(h.b().logic.state().clock, "20:00");
    h.undo();
    EXPECT_EQ(h.b().logic.state().clock, "10:00");
    EXPECT_EQ(h.b().logic.state().resetTenths, 6000);
    h.press(EntryBox::TimeBack, 'R');
    EXPECT_EQ(h.b().logic.state().clock, "10:00");
}

// Any mix of keys, time, undo and redo leaves every field within its limits, the lamps in
// line with the penalty clocks, and a journal that replays to the board.
TEST(UndoRandom, FieldsStayWithinLimits) {
    std::mt19937 rng(4711);
    for (int stream = 0; stream < 30; ++stream) {
        QTemporaryDir dir;
        JournalHarness h(dir.path());
        for (int i = 0; i < 150; ++i) {
            const unsigned pick = rng() % 8;
            if (pick == 0)
                h.undo();
            else if (pick == 1)
                h.redo();
            else
                randomAction(rng, h);
            const BoardState s = h.b().logic.state();
            ASSERT_GE(s.period, 0);
            ASSERT_LE(s.period, 9);
            for (int v : {s.home, s.visitor}) {
                ASSERT_GE(v, -1);
                ASSERT_LE(v, 199);
            }
            for (int v : {s.shotsHome, s.shotsVisitor}) {
                ASSERT_GE(v, -1);
                ASSERT_LE(v, 99);
            }
            ASSERT_GE(s.clockTenths, 0);
            ASSERT_LE(s.clockTenths, 59990);
            for (const PenaltyState& p : s.penalties) {
                ASSERT_GE(p.player, -1);
                ASSERT_LE(p.player, 99);
                ASSERT_GE(p.tenths, 0);
                ASSERT_LE(p.tenths, 5990);
                ASSERT_EQ(p.lit, p.tenths > 0) << "stream " << stream << " step " << i;
            }
            // The timer ticks only while the clock runs (a clock run out stands with it off).
            ASSERT_TRUE(!h.b().view.timerEnabled() || s.clockRunning);
        }
        ASSERT_EQ(replayRows(h.rows()), h.b().logic.state()) << "stream " << stream;
    }
}

} // namespace
