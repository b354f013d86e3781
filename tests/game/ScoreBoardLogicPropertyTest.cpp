#include "game/BoardHarness.h"

#include "game/ClockFace.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>

using namespace boardtest;

namespace {

constexpr std::uint32_t kSeed = 20240611;
constexpr int kStreams = 3000;
constexpr int kLongestStream = 160;

struct NumberLimits {
    FieldId field;
    int lower;
    int upper;
};
constexpr std::array<NumberLimits, 9> kNumberFields{{
    {FieldId::Period, 0, 9},
    {FieldId::Home, -1, 199},
    {FieldId::Visitor, -1, 199},
    {FieldId::SOGH, -1, 99},
    {FieldId::SOGV, -1, 99},
    {FieldId::PenaltyPH1, -1, 99},
    {FieldId::PenaltyPH2, -1, 99},
    {FieldId::PenaltyPV1, -1, 99},
    {FieldId::PenaltyPV2, -1, 99},
}};

// Keys a timekeeper (or a cat on the keyboard) may press.
int randomKey(std::mt19937& rng, const Settings& settings) {
    static constexpr std::array<int, 20> kOthers{
        vk::OemPlus, vk::Add,   vk::OemMinus, vk::Subtract, vk::Decimal, vk::OemPeriod, vk::Return,
        vk::Return,  vk::Space, vk::Left,     vk::Up,       vk::Right,   vk::Down,      'S',
        'R',         'B',       'G',          vk::F1,       vk::F2,      vk::NumLock};
    switch (rng() % 6) {
    case 0:
    case 1:
        return vk::Key0 + static_cast<int>(rng() % 10);
    case 2:
        return vk::Numpad0 + static_cast<int>(rng() % 10);
    case 3:
        return kOthers[rng() % kOthers.size()];
    case 4:
        return rng() % 3 == 0 ? settings.ClearKey : vk::KeyA + static_cast<int>(rng() % 26);
    default:
        return static_cast<int>(rng() % 256);
    }
}

// Now and then the configured keys are set to clash with each other or with typing keys.
void randomKeys(std::mt19937& rng, Settings& settings) {
    if (rng() % 4 != 0)
        return;
    static constexpr std::array<int, 12> kPool{
        'S',    'R',         'B',     'G', vk::Delete, vk::Return, vk::Space, '5', vk::Numpad0 + 7,
        vk::F1, vk::NumLock, vk::Left};
    auto pick = [&] { return static_cast<std::int16_t>(kPool[rng() % kPool.size()]); };
    settings.StartStopClockKey = pick();
    settings.ResetClockKey = pick();
    settings.ClearKey = pick();
    settings.BuzzerKey = pick();
    settings.HornKey = pick();
}

// Digits of a number field as number entry writes them: right-aligned, no leading zero.
bool canonicalNumber(const std::vector<int>& d) {
    int top = static_cast<int>(d.size()) - 1;
    while (top >= 0 && d[static_cast<std::size_t>(top)] == -1)
        --top;
    for (int i = 0; i <= top; ++i) {
        if (d[static_cast<std::size_t>(i)] < 0)
            return false;
    }
    return top <= 0 || d[static_cast<std::size_t>(top)] != 0;
}

void checkBoard(BoardHarness& h) {
    for (int f = 0; f < kFieldCount; ++f) {
        for (int d : h.digits(static_cast<FieldId>(f)))
            ASSERT_TRUE(d >= -1 && d <= 9) << "field " << f;
    }
    ASSERT_GE(h.view.group(FieldId::Period).digit(0), 0);
    for (const NumberLimits& n : kNumberFields) {
        const int v = h.number(n.field);
        ASSERT_TRUE(v >= n.lower && v <= n.upper) << "field " << static_cast<int>(n.field);
        ASSERT_TRUE(canonicalNumber(h.digits(n.field))) << "field " << static_cast<int>(n.field);
    }

    modCount& c = h.logic.counters();
    const GameTime clockTotal = c.counterState(0).CounterTotal;
    ASSERT_TRUE(clockTotal >= GameTime() && clockTotal <= secs(5999));
    ASSERT_TRUE(h.logic.ResetTime() >= GameTime() && h.logic.ResetTime() <= secs(5999));
    if (!c.CounterRunning(0)) {
        ASSERT_FALSE(h.view.timerEnabled());
        const GameTime left = c.ReadCounter(0);
        ASSERT_LE(left, secs(5999));
        const ClockFace face = clockFace(left);
        ASSERT_EQ(h.digits(FieldId::Time), asVector(face.digits));
        ASSERT_EQ(h.view.clockColon(), face.upperDotLit ? Lamp::Lit : Lamp::Dark);
    }

    for (const PenaltySlot& slot : kPenaltySlots) {
        const GameTime total = c.counterState(slot.slot).CounterTotal;
        ASSERT_TRUE(total >= GameTime() && total <= secs(599)) << slot.slot;
        if (!c.CounterRunning(slot.slot)) {
            ASSERT_LE(c.ReadCounter(slot.slot), secs(599)) << slot.slot;
        }
        const std::vector<int> d = h.digits(slot.time);
        const bool inUse = d[0] >= 0;
        for (int x : d)
            ASSERT_EQ(x >= 0, inUse) << "slot " << slot.slot << " half drawn";
        if (inUse) {
            ASSERT_LE(d[1], 5) << slot.slot;
        }
        ASSERT_EQ(h.view.penaltyColon(slot.slot), inUse ? Lamp::Lit : Lamp::Dark) << slot.slot;
    }

    const int who = h.logic.WhoGoal();
    ASSERT_TRUE(who >= 0 && who <= 2);
    ASSERT_EQ(h.view.homeGoal(), who == 1 ? Lamp::Lit : Lamp::Dark);
    ASSERT_EQ(h.view.visitorGoal(), who == 2 ? Lamp::Lit : Lamp::Dark);
}

// Right after a tick every penalty lamp tells whether its clock has time left.
void checkLampsAfterTick(BoardHarness& h) {
    for (const PenaltySlot& slot : kPenaltySlots) {
        const bool left = h.logic.counters().ReadCounter(slot.slot) > GameTime();
        ASSERT_EQ(h.view.penaltyLamp(slot.slot), left ? Lamp::Lit : Lamp::Dark) << slot.slot;
    }
}

// Lets a random stretch of time pass; the timer, if on, ticks once at its end, as a timer
// that was held up skips the tenths it missed.
void passTime(std::mt19937& rng, BoardHarness& h) {
    std::int64_t ms;
    switch (rng() % 8) {
    case 0:
        ms = static_cast<std::int64_t>(rng() % 180000); // up to three minutes
        break;
    case 1:
        ms = static_cast<std::int64_t>(rng() % 10000);
        break;
    default:
        ms = static_cast<std::int64_t>(rng() % 400);
        break;
    }
    h.time.advance(ms);
    if (h.view.timerEnabled()) {
        h.logic.tmrClock1_Timer();
        checkLampsAfterTick(h);
    }
}

TEST(BoardLogicProperty, RandomKeyStreamsKeepEveryFieldInItsLimits) {
    std::mt19937 rng(kSeed);
    for (int stream = 0; stream < kStreams; ++stream) {
        SCOPED_TRACE("stream " + std::to_string(stream) + " of seed " + std::to_string(kSeed));
        BoardHarness h;
        h.load();
        randomKeys(rng, h.settings);
        EntryBox box = static_cast<EntryBox>(rng() % kEntryBoxCount);
        const int length = 1 + static_cast<int>(rng() % kLongestStream);
        for (int step = 0; step < length; ++step) {
            const std::uint32_t what = rng() % 100;
            if (what < 15) {
                box = static_cast<EntryBox>(rng() % kEntryBoxCount); // Tab or a click
            } else if (what < 75) {
                h.press(box, randomKey(rng, h.settings));
            } else if (what < 80) {
                h.logic.AllKeyUp(randomKey(rng, h.settings), static_cast<int>(rng() % 8));
            } else if (what < 83) {
                h.logic.GoalLampClicked(static_cast<int>(rng() % 4));
            } else {
                passTime(rng, h);
            }
            checkBoard(h);
            if (::testing::Test::HasFatalFailure())
                return;
        }
    }
}

// What the audience sees, without the tenths behind a shown second, and the buzzer's count.
std::pair<BoardState, int> onScreen(BoardHarness& h) {
    BoardState s = h.logic.state();
    s.clockTenths = 0;
    for (PenaltyState& p : s.penalties)
        p.tenths = 0;
    return {s, h.view.buzzers()};
}

// The ticks the timer sleeps through would have drawn nothing: from every point of random
// games, each boundary before the next change the logic names is ticked and must leave the
// board as it was.
TEST(BoardLogicProperty, TicksLeftOutWouldDrawNothing) {
    std::mt19937 rng(kSeed + 1);
    for (int stream = 0; stream < kStreams / 10; ++stream) {
        SCOPED_TRACE("stream " + std::to_string(stream));
        BoardHarness h;
        h.load();
        randomKeys(rng, h.settings);
        EntryBox box = static_cast<EntryBox>(rng() % kEntryBoxCount);
        for (int step = 0; step < kLongestStream; ++step) {
            if (rng() % 100 < 70) {
                box = rng() % 5 == 0 ? static_cast<EntryBox>(rng() % kEntryBoxCount) : box;
                h.press(box, randomKey(rng, h.settings));
            } else {
                passTime(rng, h);
            }
            if (!h.view.timerEnabled())
                continue;
            h.logic.tmrClock1_Timer();
            const auto shown = onScreen(h);
            const std::int64_t now = h.time.nowMs() / 100;
            const std::int64_t next = h.logic.nextShownChangeTenth(10);
            ASSERT_GT(next, now);
            ASSERT_LE(next, now + 10);
            for (std::int64_t t = now + 1; t < next && h.view.timerEnabled(); ++t) {
                h.time.advance(t * 100 - h.time.nowMs());
                h.logic.tmrClock1_Timer();
                ASSERT_EQ(onScreen(h), shown) << "a tick left out at tenth " << t - now;
            }
        }
    }
}

// The tenth the sleeping timer wakes for, with a penalty clock shown or with its digits
// hidden: a hidden clock shows no seconds, but its lamp still goes out when it ends.
TEST(BoardLogicProperty, NextChangeOfAPenaltyClockShownOrHidden) {
    const struct {
        const char* name;
        const char* penalty; // typed as the home team's first penalty time
        bool hidden;
        int tenths; // from now to the next change
    } rows[] = {
        {"shown, ends first", "0.01\n", false, 3},
        {"hidden, ends first", "0.01\n", true, 3},
        {"shown, its second changes first", "0.06\n", false, 3},
        {"hidden, the game clock changes first", "0.06\n", true, 8},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        BoardHarness h;
        h.load();
        h.type(EntryBox::TimeBack, "9.595\n"); // the clock's seconds change at .5
        h.type(EntryBox::PenaltyTH1, row.penalty);
        h.press(EntryBox::TimeBack, 'S');
        h.run(700);
        if (row.hidden)
            for (int e = 0; e < 3; ++e)
                h.view.field(FieldId::PenaltyTH1).setDigit(e, -1);
        EXPECT_EQ(h.logic.nextShownChangeTenth(10) - h.time.nowMs() / 100, row.tenths);
    }
}

} // namespace
