// The NumLock modes against a lock in memory: the mode applied at load or after the options
// dialog, and an operator's NumLock press on the board, whether the platform turns the
// program's own change into a key press and release (Windows) or makes it silently (X11).
#include "game/BoardHarness.h"

#include "game/modGrabKeys.h"
#include "support/FakeKeyboardLock.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using namespace boardtest;

namespace {

// ---- the mode applied -----------------------------------------------------------------------

struct ModeRow {
    const char* name;
    int force;
    bool startOn;
    bool endOn;
    int changes;
};
void PrintTo(const ModeRow& row, std::ostream* os) {
    *os << row.name;
}

class NumLockMode : public ::testing::TestWithParam<ModeRow> {};

TEST_P(NumLockMode, ChangesTheLockOnlyWhenTheModeWantsItOtherwise) {
    const ModeRow& row = GetParam();
    FakeKeyboardLock lock;
    lock.on = row.startOn;
    ApplyNumLockMode(lock, row.force);
    EXPECT_EQ(lock.on, row.endOn);
    EXPECT_EQ(lock.changes, row.changes);
}

INSTANTIATE_TEST_SUITE_P(Modes, NumLockMode,
                         ::testing::Values(ModeRow{"NormalLeavesOff", 0, false, false, 0},
                                           ModeRow{"NormalLeavesOn", 0, true, true, 0},
                                           ModeRow{"KeepOnTurnsOn", 1, false, true, 1},
                                           ModeRow{"KeepOnFindsOn", 1, true, true, 0},
                                           ModeRow{"KeepOffTurnsOff", 2, true, false, 1},
                                           ModeRow{"KeepOffFindsOff", 2, false, false, 0},
                                           ModeRow{"UnknownModeLeavesOn", 3, true, true, 0},
                                           ModeRow{"NegativeModeLeavesOff", -1, false, false, 0}),
                         [](const ::testing::TestParamInfo<ModeRow>& info) {
                             return std::string(info.param.name);
                         });

// ---- the operator presses NumLock on the board ----------------------------------------------

enum class Change { Silent, AsKeys };

struct PressRow {
    const char* name;
    int force;
    bool onBefore;
    Change change;
    int startStopKey;
    bool endOn;
    int changes;
    int modeChecks; // how often the board looked at the mode
    bool clockRunning;
};
void PrintTo(const PressRow& row, std::ostream* os) {
    *os << row.name;
}

class NumLockPress : public ::testing::TestWithParam<PressRow> {};

TEST_P(NumLockPress, EndsInTheModeAfterOneRound) {
    const PressRow& row = GetParam();
    BoardHarness b;
    FakeKeyboardLock lock;
    b.settings.NumLockForce = row.force;
    b.settings.StartStopClockKey = static_cast<std::int16_t>(row.startStopKey);
    b.view.onUpdateNumLock = [&] { ApplyNumLockMode(lock, b.settings.NumLockForce); };
    b.load();
    lock.on = row.onBefore;
    auto numLockStroke = [&] {
        b.press(EntryBox::HomeBack, vk::NumLock);
        b.logic.AllKeyUp(vk::NumLock, 0);
    };
    if (row.change == Change::AsKeys)
        lock.echo = numLockStroke;

    lock.pressNumLock();
    numLockStroke();

    EXPECT_EQ(lock.on, row.endOn);
    EXPECT_EQ(lock.changes, row.changes);
    EXPECT_EQ(b.view.numLockUpdates(), row.modeChecks);
    EXPECT_EQ(b.running(0), row.clockRunning);
    // The key never types into the field.
    EXPECT_EQ(b.digits(FieldId::Home), (std::vector<int>{0, B, B}));
}

constexpr int S = 'S';
INSTANTIATE_TEST_SUITE_P(
    Presses, NumLockPress,
    ::testing::Values(
        PressRow{"KeepOnSilent", 1, true, Change::Silent, S, true, 1, 1, false},
        PressRow{"KeepOnAsKeys", 1, true, Change::AsKeys, S, true, 1, 2, false},
        PressRow{"KeepOffSilent", 2, false, Change::Silent, S, false, 1, 1, false},
        PressRow{"KeepOffAsKeys", 2, false, Change::AsKeys, S, false, 1, 2, false},
        PressRow{"NormalTurnsOn", 0, false, Change::AsKeys, S, true, 0, 1, false},
        PressRow{"NormalTurnsOff", 0, true, Change::Silent, S, false, 0, 1, false},
        // NumLock as the start/stop key: a correction made of keys presses it once more.
        PressRow{"StartStopKeyAsKeys", 1, true, Change::AsKeys, vk::NumLock, true, 1, 2, false},
        PressRow{"StartStopKeySilent", 1, true, Change::Silent, vk::NumLock, true, 1, 1, true}),
    [](const ::testing::TestParamInfo<PressRow>& info) { return std::string(info.param.name); });

// ---- reading a key-state table --------------------------------------------------------------

TEST(KeyStateByte, OnlyTheLowBitSaysTheLockIsOn) {
    const struct {
        unsigned char byte;
        bool on;
    } rows[] = {{0x00, false}, {0x01, true}, {0x80, false}, {0x81, true}, {0x7E, false}};
    for (const auto& row : rows)
        EXPECT_EQ(lockByteOn(row.byte), row.on) << int(row.byte);
}

} // namespace
