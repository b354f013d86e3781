#include "game/modCount.h"

#include <limits>
#include <utility>

namespace {

using Raw = std::int64_t;
constexpr Raw kRawMax = std::numeric_limits<Raw>::max();
constexpr Raw kRawMin = std::numeric_limits<Raw>::min();

// Game times come from typed entry and are small, but a counter must not wrap around on any
// value it is handed, so sums and differences stop at the ends of the range.
Raw saturatingAdd(Raw a, Raw b) {
    if (b > 0 && a > kRawMax - b)
        return kRawMax;
    if (b < 0 && a < kRawMin - b)
        return kRawMin;
    return a + b;
}

Raw saturatingSub(Raw a, Raw b) {
    if (b < 0 && a > kRawMax + b)
        return kRawMax;
    if (b > 0 && a < kRawMin + b)
        return kRawMin;
    return a - b;
}

// Elapsed tenths beyond this (more than 30 years) are held there, so their game time fits.
constexpr Raw kMaxElapsedTenths = Raw{10} * 60 * 60 * 24 * 366 * 30;

} // namespace

modCount::modCount(const TimeSource& time, std::function<void()> beep)
    : time_(time), beep_(std::move(beep)) {}

void modCount::StartCounter(int i) {
    if (!valid(i) || counters_[i].CounterRunningFlag)
        return;
    CounterState& c = counters_[i];
    c.startMs = time_.nowMs();
    c.started = true;
    c.CounterElapsed = GameTime();
    c.CounterRunningFlag = true;
}

void modCount::StopCounter(int i) {
    if (!valid(i) || !counters_[i].CounterRunningFlag)
        return;
    CounterState& c = counters_[i];
    c.CounterBanked =
        GameTime::fromRaw(saturatingAdd(c.CounterBanked.raw(), c.CounterElapsed.raw()));
    c.CounterRunningFlag = false;
}

void modCount::SetCounter(GameTime t, int i) {
    if (!valid(i))
        return;
    CounterState& c = counters_[i];
    c.CounterTotal = t;
    c.CounterBanked = GameTime();
    c.CounterElapsed = GameTime();
    StopCounter(i);
}

GameTime modCount::ReadCounter(int i) {
    if (!valid(i))
        return GameTime();
    CounterState& c = counters_[i];
    if (c.started && c.CounterRunningFlag) {
        // Whole tenths of the time source between the start and now: a start at .950 and a
        // read at 1.010 lie in neighbouring tenths and give 0.1 s.
        Raw tenths = tenthIndex(time_.nowMs()) - tenthIndex(c.startMs);
        // A time source that went back must not give the counter time back.
        if (tenths < 0)
            tenths = 0;
        if (tenths > kMaxElapsedTenths)
            tenths = kMaxElapsedTenths;
        c.CounterElapsed = GameTime::tenths(tenths);
    } else {
        c.CounterElapsed = GameTime();
    }
    const Raw left = saturatingSub(saturatingSub(c.CounterTotal.raw(), c.CounterBanked.raw()),
                                   c.CounterElapsed.raw());
    if (left <= 0) {
        c.CounterBanked = c.CounterTotal;
        return GameTime();
    }
    return GameTime::fromRaw(left);
}

bool modCount::CounterRunning(int i) {
    if (!valid(i)) {
        if (beep_)
            beep_();
        return false;
    }
    return counters_[i].CounterRunningFlag;
}

int modCount::DivInt(GameTime a, GameTime b) {
    const Raw n = a.raw();
    const Raw d = b.raw();
    if (d == 0)
        return 0;
    // The one quotient that does not fit in 64 bits is far outside the 16-bit range anyway.
    if (d == -1 && n == kRawMin)
        return std::numeric_limits<std::int16_t>::max();
    Raw q = n / d;
    if (n % d != 0 && ((n < 0) != (d < 0)))
        --q;
    if (q > std::numeric_limits<std::int16_t>::max())
        return std::numeric_limits<std::int16_t>::max();
    if (q < std::numeric_limits<std::int16_t>::min())
        return std::numeric_limits<std::int16_t>::min();
    return static_cast<int>(q);
}

modCount::CounterState modCount::counterState(int i) const {
    return valid(i) ? counters_[i] : CounterState();
}
