#include "game/TenthTimer.h"
#include "game/modCount.h"
#include "platform/WakeTimer.h"
#include "support/FakeTimeSource.h"
#include "support/Patience.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

// These tests run a real event loop against the real clock, so they only assert what holds
// however loaded the machine is: ticks come after boundaries, one per tenth at most, and
// none once disabled. Waits end on the ticks they wait for, with a deadline only a fault
// reaches; how soon after its boundary a tick comes is measured by bench_display_lag.
namespace {

void ensureApplication() {
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "board_clock_tests";
        static char* argv[] = {name, nullptr};
        new QCoreApplication(argc, argv); // lives for the whole run
    }
}

// Runs the event loop until `done` holds or `timeoutMs` have passed.
template <typename Done> void runUntil(Done done, int timeoutMs) {
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    deadline.start(timeoutMs);
    poll.start(1);
    loop.exec();
}

// Runs the event loop until `ticks` holds `count` entries or `timeoutMs` have passed.
void runUntil(const std::vector<std::int64_t>& ticks, std::size_t count, int timeoutMs) {
    runUntil([&] { return ticks.size() >= count; }, timeoutMs);
}

class TenthTimerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ensureApplication();
        QObject::connect(&timer, &TenthTimer::tick, [this] { ticks.push_back(time.nowMs()); });
    }

    SteadyTimeSource time;
    TenthTimer timer{time};
    std::vector<std::int64_t> ticks;
};

TEST_F(TenthTimerTest, TicksOncePerTenthJustAfterEachBoundary) {
    const std::int64_t enabledAt = time.nowMs();
    timer.setEnabled(true);
    EXPECT_TRUE(timer.isEnabled());
    runUntil(ticks, 12, kPatienceMs);
    ASSERT_GE(ticks.size(), 12u);

    std::int64_t previousTenth = tenthIndex(enabledAt);
    for (std::int64_t t : ticks) {
        // Never before a boundary, never twice in one tenth.
        EXPECT_GT(tenthIndex(t), previousTenth) << "tick at " << t;
        previousTenth = tenthIndex(t);
    }
    timer.setEnabled(false);
}

TEST_F(TenthTimerTest, DisablingStopsTheArmedTick) {
    timer.setEnabled(true);
    timer.setEnabled(false);
    EXPECT_FALSE(timer.isEnabled());
    runUntil(ticks, 1, 350);
    EXPECT_TRUE(ticks.empty());
}

TEST_F(TenthTimerTest, DisablingFromATickStopsFurtherTicks) {
    QObject::connect(&timer, &TenthTimer::tick, [this] {
        if (ticks.size() == 2)
            timer.setEnabled(false);
    });
    timer.setEnabled(true);
    runUntil(ticks, 2, kPatienceMs);
    ASSERT_EQ(ticks.size(), 2u);
    // Three tenths more, on an idle machine, for a tick that should not come.
    runUntil(ticks, 3, 300);
    EXPECT_EQ(ticks.size(), 2u);
}

TEST_F(TenthTimerTest, EnablingTwiceDoesNotDoubleTheTicks) {
    timer.setEnabled(true);
    timer.setEnabled(true);
    runUntil(ticks, 6, kPatienceMs);
    ASSERT_GE(ticks.size(), 6u);
    for (std::size_t k = 1; k < ticks.size(); ++k)
        EXPECT_GT(tenthIndex(ticks[k]), tenthIndex(ticks[k - 1]));
    timer.setEnabled(false);

    // And it starts again after being disabled.
    ticks.clear();
    timer.setEnabled(true);
    runUntil(ticks, 2, kPatienceMs);
    EXPECT_GE(ticks.size(), 2u);
    timer.setEnabled(false);
}

TEST(TenthTimerFakeTime, WaitsForTheTimeSourceToReachTheBoundary) {
    ensureApplication();
    FakeTimeSource fake(1'050);
    TenthTimer timer(fake);
    std::vector<std::int64_t> ticks;
    QObject::connect(&timer, &TenthTimer::tick, [&] { ticks.push_back(fake.nowMs()); });
    timer.setEnabled(true);

    // Real time passes, but the time source stands still before its next boundary.
    runUntil(ticks, 1, 400);
    EXPECT_TRUE(ticks.empty());

    fake.set(1'100);
    runUntil(ticks, 1, kPatienceMs);
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_EQ(ticks[0], 1'100);

    // Nothing more until the time source moves on to the following tenth.
    runUntil(ticks, 2, 400);
    EXPECT_EQ(ticks.size(), 1u);
    fake.set(1'250);
    runUntil(ticks, 2, kPatienceMs);
    EXPECT_EQ(ticks.size(), 2u);
    timer.setEnabled(false);
}

// A tick that asks to skip is followed by none before the boundary it named, never by one
// more than kMaxSkip tenths on; tickSoon() after that brings the next tick to the next
// boundary. On a time source the test moves, so that each tick falls on the boundary the
// test expects however late the machine wakes: the time stands just before that boundary
// for a while (a tick then would be early), then on it.
TEST(TenthTimerFakeTime, SleepsThroughTheTenthsATickLeavesOutUntilToldOfAChange) {
    ensureApplication();
    FakeTimeSource fake(1'050);
    TenthTimer timer(fake);
    std::vector<std::int64_t> ticks;
    QObject::connect(&timer, &TenthTimer::tick, [&] {
        ticks.push_back(fake.nowMs());
        const std::int64_t tenth = tenthIndex(ticks.back());
        if (ticks.size() == 1)
            timer.skipTo(tenth + 4);
        else if (ticks.size() == 2)
            timer.skipTo(tenth + 50); // beyond the longest sleep
        else if (ticks.size() == 3)
            timer.skipTo(tenth + TenthTimer::kMaxSkip);
        else
            timer.setEnabled(false);
    });
    // Up to `boundaryMs`, where tick number `count` is due and none before it.
    auto tickAt = [&](std::int64_t boundaryMs, std::size_t count) {
        fake.set(boundaryMs - 1);
        runUntil(ticks, count, 400);
        EXPECT_EQ(ticks.size(), count - 1) << "a tick before " << boundaryMs;
        fake.set(boundaryMs);
        runUntil(ticks, count, kPatienceMs);
    };
    timer.setEnabled(true);
    fake.set(1'100);
    runUntil(ticks, 1, kPatienceMs);
    ASSERT_EQ(ticks.size(), 1u);
    tickAt(1'500, 2); // four tenths on, as asked
    ASSERT_EQ(ticks.size(), 2u);
    EXPECT_EQ(ticks[1], 1'500);
    tickAt(2'500, 3); // fifty asked for, kMaxSkip taken
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_EQ(ticks[2], 2'500);

    // Told of a change a tenth and a half on, while sleeping towards 3'500.
    fake.set(2'650);
    const std::int64_t toldAt = fake.nowMs();
    timer.tickSoon();
    tickAt(2'700, 4);
    ASSERT_EQ(ticks.size(), 4u);
    EXPECT_EQ(tenthIndex(ticks[3]), tenthIndex(toldAt) + 1) << "not at the next boundary";
    EXPECT_FALSE(timer.isEnabled());
}

// The wake timer under the clock timer, against the real clock: it never wakes before the
// millisecond it was aimed at, wakes once, and not at all once stopped.
double nowMsExact() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count() / 1e6;
}

void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

class WakeTimerAim : public ::testing::TestWithParam<int> {};

TEST_P(WakeTimerAim, WakesOnceAtTheStartOfTheAimedMillisecond) {
    ensureApplication();
    const SteadyTimeSource time;
    WakeTimer timer;
    std::vector<double> wakes;
    QObject::connect(&timer, &WakeTimer::timeout, [&] { wakes.push_back(nowMsExact()); });
    const int n = GetParam();
    const std::int64_t startMs = time.nowMs();
    timer.start(n);
    EXPECT_TRUE(timer.isActive());
    runUntil([&] { return !wakes.empty(); }, n + kPatienceMs);
    ASSERT_EQ(wakes.size(), 1u);
    EXPECT_FALSE(timer.isActive());
    EXPECT_GE(wakes[0], double(startMs + std::max(n, 0))) << "woke early";
    // A one-shot: no second wake follows the first.
    runFor(150);
    EXPECT_EQ(wakes.size(), 1u) << "woke twice";
}

INSTANTIATE_TEST_SUITE_P(Waits, WakeTimerAim, ::testing::Values(-5, 0, 1, 7, 30));

TEST(WakeTimer, StopAndRestartLeaveOnlyTheLastAim) {
    ensureApplication();
    WakeTimer timer;
    int wakes = 0;
    QObject::connect(&timer, &WakeTimer::timeout, [&] { ++wakes; });
    timer.start(10);
    timer.stop();
    EXPECT_FALSE(timer.isActive());
    runFor(60);
    EXPECT_EQ(wakes, 0) << "a stopped timer woke";

    // Aimed again: only the new aim counts. The first lies beyond any wait of the test, so
    // a wake at all comes from the second, and once it came nothing is left armed.
    timer.start(2 * kPatienceMs);
    timer.start(5);
    runUntil([&] { return wakes > 0; }, kPatienceMs);
    EXPECT_EQ(wakes, 1);
    EXPECT_FALSE(timer.isActive()) << "the earlier aim is still armed";
}

} // namespace
