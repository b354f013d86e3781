#include "board/WakeTimer.h"
#include "board/TimeSource.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

// Against the real clock: the timer never wakes before the millisecond it was aimed at, wakes
// once, and not at all once stopped. The bound on lateness is loose for a loaded machine.
namespace {

void ensureApplication() {
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "board_clock_tests";
        static char* argv[] = {name, nullptr};
        new QCoreApplication(argc, argv);
    }
}

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
    runFor(n + 150);
    ASSERT_EQ(wakes.size(), 1u);
    EXPECT_FALSE(timer.isActive());
    EXPECT_GE(wakes[0], double(startMs + std::max(n, 0))) << "woke early";
    EXPECT_LT(wakes[0], double(startMs + std::max(n, 0) + 100)) << "woke far too late";
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

    const double started = nowMsExact();
    timer.start(300);
    timer.start(5); // aimed again: only the new aim counts
    runFor(80);
    EXPECT_EQ(wakes, 1);
    EXPECT_LT(nowMsExact() - started, 300.0);
    runFor(300);
    EXPECT_EQ(wakes, 1) << "the earlier aim fired too";
}

} // namespace
