#include "game/modCount.h"
#include "game/ClockFace.h"
#include "support/FakeTimeSource.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <ostream>
#include <set>

// Failures show game times as seconds.
static void PrintTo(GameTime t, std::ostream* os) {
    *os << t.toSeconds() << " s";
}

namespace {

GameTime tenths(std::int64_t t) {
    return GameTime::tenths(t);
}
GameTime seconds(std::int64_t s) {
    return GameTime::seconds(s);
}

class ModCountTest : public ::testing::Test {
  protected:
    FakeTimeSource time{12 * 3600 * 1000};
    int beeps = 0;
    modCount counters{time, [this] { ++beeps; }};

    // Sets counter i, starts it at `startMs` and reads it `afterMs` later.
    GameTime runFor(int i, GameTime total, std::int64_t startMs, std::int64_t afterMs) {
        time.set(startMs);
        counters.SetCounter(total, i);
        counters.StartCounter(i);
        time.advance(afterMs);
        return counters.ReadCounter(i);
    }
};

TEST_F(ModCountTest, ElapsedTimeStepsOnTheTimeSourcesTenths) {
    struct Row {
        std::int64_t startMs, readMs, elapsedTenths;
    };
    const Row rows[] = {
        {12'000'950, 12'001'010, 1}, // .950 to 1.010: neighbouring tenths
        {12'000'999, 12'001'000, 1},
        {12'001'000, 12'001'099, 0},
        {12'001'000, 12'001'100, 1},
        {12'000'000, 12'061'050, 610},
        {12'000'050, 12'061'100, 611},
        {12'000'099, 12'000'099, 0},
        // Instants before the time source's origin step the same way.
        {-50, 0, 1},
        {-150, -101, 0},
        {-101, -100, 1},
        {-1'000, 1'000, 20},
        {-1, 0, 1},
        {-100, -1, 0},
    };
    for (const Row& r : rows) {
        const GameTime left = runFor(0, seconds(600), r.startMs, r.readMs - r.startMs);
        EXPECT_EQ(left, seconds(600) - tenths(r.elapsedTenths)) << r.startMs << " .. " << r.readMs;
    }
}

TEST_F(ModCountTest, SixtyOneSecondsFromTenMinutesLeavesEightFiftyNine) {
    std::set<std::int64_t> seen;
    for (std::int64_t phase = 0; phase < 1000; phase += 7) {
        const GameTime left = runFor(0, seconds(600), 5'000'000 + phase, 61'050);
        EXPECT_TRUE(left == tenths(5389) || left == tenths(5390)) << phase << ": " << left.raw();
        seen.insert(left.raw());
        const ClockFace face = clockFace(left);
        EXPECT_EQ(face.digits, (std::array<int, 4>{-1, 8, 5, 9}));
        EXPECT_TRUE(face.upperDotLit);
    }
    EXPECT_EQ(seen.size(), 2u) << "both readings occur depending on the start's phase";
}

TEST_F(ModCountTest, StopBetweenReadsKeepsTheLastReadValue) {
    const GameTime shown = runFor(0, seconds(600), 1'000'000, 1'250);
    EXPECT_EQ(shown, tenths(5988));
    time.advance(80); // past the next boundary, but no read saw it
    counters.StopCounter(0);
    EXPECT_FALSE(counters.CounterRunning(0));
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(counters.ReadCounter(0), shown);
        time.advance(10'000);
    }
}

// Run for 30 s and stopped; then started and stopped again before the next tick, with no
// read in between: the counter keeps exactly what it read before that start.
TEST_F(ModCountTest, StartAndStopWithoutAReadChangesNothing) {
    const struct {
        const char* name;
        int counter;
        std::int64_t gapMs; // from that start to its stop
        bool readAfterFirstStop = true;
    } rows[] = {
        {"game clock, at once", 0, 0},
        {"game clock, within the tenth", 0, 99},
        {"game clock, across tenths", 0, 700},
        {"home penalty 1", 1, 99},
        {"home penalty 2", 2, 0},
        {"visitor penalty 1", 3, 700},
        {"visitor penalty 2", 4, 99},
        // Stop, start, stop: the first run is banked once, not again by the second stop.
        {"game clock, no read after the first stop", 0, 0, false},
        {"home penalty 1, no read after the first stop", 1, 99, false},
        {"visitor penalty 2, no read after the first stop", 4, 700, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        runFor(row.counter, seconds(600), 1'000'000, 30'000);
        counters.StopCounter(row.counter);
        const GameTime before = seconds(570);
        if (row.readAfterFirstStop) {
            ASSERT_EQ(counters.ReadCounter(row.counter), before);
        }

        counters.StartCounter(row.counter);
        time.advance(row.gapMs);
        counters.StopCounter(row.counter);
        EXPECT_EQ(counters.ReadCounter(row.counter), before);
        EXPECT_EQ(counters.counterState(row.counter).CounterBanked, seconds(30));
    }
}

TEST_F(ModCountTest, RestartedCounterAddsUpItsRuns) {
    runFor(0, seconds(600), 1'000'000, 10'000);
    counters.StopCounter(0);
    time.advance(5'000); // stopped time does not count
    counters.StartCounter(0);
    time.advance(10'000);
    EXPECT_EQ(counters.ReadCounter(0), seconds(580));
    counters.StopCounter(0);
    EXPECT_EQ(counters.ReadCounter(0), seconds(580));
}

TEST_F(ModCountTest, StartOfARunningCounterKeepsItsStart) {
    runFor(0, seconds(600), 1'000'000, 550);
    counters.StartCounter(0);
    time.advance(500);
    EXPECT_EQ(counters.ReadCounter(0), seconds(599));
}

TEST_F(ModCountTest, RunningOutReadsZeroAndStaysFlaggedRunning) {
    EXPECT_EQ(runFor(1, seconds(1), 1'000'000, 1'000), GameTime());
    time.advance(500);
    EXPECT_EQ(counters.ReadCounter(1), GameTime());
    const modCount::CounterState state = counters.counterState(1);
    EXPECT_EQ(state.CounterBanked, state.CounterTotal);
    EXPECT_TRUE(counters.CounterRunning(1));

    time.advance(60'000);
    EXPECT_EQ(counters.ReadCounter(1), GameTime());
    counters.StopCounter(1);
    EXPECT_EQ(counters.ReadCounter(1), GameTime());
    counters.StartCounter(1);
    time.advance(5'000);
    EXPECT_EQ(counters.ReadCounter(1), GameTime());
    EXPECT_EQ(counters.counterState(1).CounterBanked, seconds(1));
}

TEST_F(ModCountTest, ClockNeverReadsBelowZeroOnTheWayDown) {
    runFor(0, tenths(25), 1'000'000, 0);
    GameTime previous = counters.ReadCounter(0);
    for (int k = 0; k < 80; ++k) {
        time.advance(37);
        const GameTime left = counters.ReadCounter(0);
        EXPECT_GE(left, GameTime());
        EXPECT_LE(left, previous);
        previous = left;
    }
    EXPECT_EQ(previous, GameTime());
}

TEST_F(ModCountTest, StoppedCounterReadsTheSameAndBanksNothing) {
    runFor(2, seconds(90), 1'000'000, 12'300);
    counters.StopCounter(2);
    const GameTime value = counters.ReadCounter(2);
    const GameTime banked = counters.counterState(2).CounterBanked;
    EXPECT_EQ(value, tenths(777));
    for (int k = 0; k < 5; ++k) {
        time.advance(333 * k);
        EXPECT_EQ(counters.ReadCounter(2), value);
        EXPECT_EQ(counters.counterState(2).CounterBanked, banked);
    }
}

TEST_F(ModCountTest, SettingARunningCounterStopsIt) {
    runFor(3, seconds(600), 1'000'000, 4'000);
    counters.SetCounter(seconds(120), 3);
    EXPECT_FALSE(counters.CounterRunning(3));
    time.advance(9'000);
    EXPECT_EQ(counters.ReadCounter(3), seconds(120));
}

TEST_F(ModCountTest, ThreeHoursReadEveryTenthDoNotDrift) {
    const GameTime total = seconds(3 * 3600 + 60);
    runFor(0, total, 7'777'037, 0);
    for (std::int64_t k = 1; k <= 3 * 3600 * 10; ++k) {
        time.advance(100);
        ASSERT_EQ(counters.ReadCounter(0), total - tenths(k)) << "tick " << k;
    }
    counters.StopCounter(0);
    EXPECT_EQ(counters.ReadCounter(0), seconds(60));
}

TEST_F(ModCountTest, CountersAreIndependent) {
    time.set(1'000'000);
    for (int i = 0; i < modCount::kCounters; ++i)
        counters.SetCounter(seconds(100 + i), i);
    counters.StartCounter(0);
    counters.StartCounter(2);
    time.advance(3'000);
    counters.StartCounter(4);
    time.advance(2'000);
    counters.StopCounter(2);
    counters.SetCounter(seconds(50), 1);

    // Counter 2 stopped before any read of its run, so the run banked nothing.
    const std::array<GameTime, modCount::kCounters> expected = {
        seconds(95), seconds(50), seconds(102), seconds(103), seconds(102)};
    const std::array<bool, modCount::kCounters> running = {true, false, false, false, true};
    for (int i = 0; i < modCount::kCounters; ++i) {
        EXPECT_EQ(counters.CounterRunning(i), running[i]) << i;
        EXPECT_EQ(counters.ReadCounter(i), expected[i]) << i;
    }
}

TEST_F(ModCountTest, IndicesOutsideTheFiveAreIgnored) {
    time.set(1'000'000);
    for (int i = 0; i < modCount::kCounters; ++i)
        counters.SetCounter(seconds(10), i);
    for (int bad :
         {5, 7, -1, -5, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
        counters.SetCounter(seconds(99), bad);
        counters.StartCounter(bad);
        time.advance(1'000);
        EXPECT_EQ(counters.ReadCounter(bad), GameTime()) << bad;
        counters.StopCounter(bad);
        EXPECT_EQ(counters.counterState(bad).CounterTotal, GameTime()) << bad;
    }
    EXPECT_EQ(beeps, 0);
    for (int i = 0; i < modCount::kCounters; ++i) {
        EXPECT_EQ(counters.ReadCounter(i), seconds(10)) << i;
        EXPECT_FALSE(counters.CounterRunning(i)) << i;
    }
    EXPECT_EQ(beeps, 0);

    EXPECT_FALSE(counters.CounterRunning(7));
    EXPECT_EQ(beeps, 1);
    EXPECT_FALSE(counters.CounterRunning(-1));
    EXPECT_EQ(beeps, 2);
}

TEST(ModCountNoBeep, BadIndexWithoutABeepIsHarmless) {
    FakeTimeSource time;
    modCount counters{time};
    EXPECT_FALSE(counters.CounterRunning(5));
}

TEST_F(ModCountTest, TimeSourceGoingBackGivesNoTimeBack) {
    runFor(0, seconds(600), 1'000'000, 2'000);
    time.set(500'000);
    EXPECT_EQ(counters.ReadCounter(0), seconds(600));
    time.set(1'003'000);
    EXPECT_EQ(counters.ReadCounter(0), seconds(597));
}

TEST_F(ModCountTest, ExtremeTotalsDoNotWrapAround) {
    const std::int64_t max = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(runFor(0, GameTime::fromRaw(max), 1'000'000, 1'000),
              GameTime::fromRaw(max) - seconds(1));
    EXPECT_EQ(
        runFor(1, GameTime::fromRaw(std::numeric_limits<std::int64_t>::min()), 1'000'000, 1'000),
        GameTime());
    EXPECT_EQ(runFor(2, GameTime::none(), 1'000'000, 0), GameTime());
    // A time source at the far end of its range.
    EXPECT_EQ(runFor(3, seconds(600), std::numeric_limits<std::int64_t>::min(), max), GameTime());
    EXPECT_EQ(runFor(4, seconds(600), max - 5'000, 5'000), seconds(595));
}

} // namespace
