#include "game/TenthTimer.h"

#include "game/modCount.h"

#include <algorithm>

namespace {
constexpr std::int64_t kTenthMs = 100;
} // namespace

TenthTimer::TenthTimer(const TimeSource& time, QObject* parent) : QObject(parent), time_(time) {
    connect(&timer_, &WakeTimer::timeout, this, &TenthTimer::onTimeout);
}

void TenthTimer::setEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (enabled_) {
        targetTenth_ = tenthIndex(time_.nowMs()) + 1;
        arm();
    } else {
        timer_.stop();
    }
}

void TenthTimer::arm() {
    // Aimed at the boundary itself: the wake timer counts whole milliseconds of the clock the
    // time source reads, so it never wakes before the boundary's millisecond has begun. A
    // source that reads another clock may be woken early; onTimeout() waits on then.
    const std::int64_t wait = targetTenth_ * kTenthMs - time_.nowMs();
    timer_.start(std::clamp<std::int64_t>(wait, 0, kMaxSkip * kTenthMs));
}

void TenthTimer::onTimeout() {
    if (!enabled_)
        return;
    const std::int64_t tenth = tenthIndex(time_.nowMs());
    if (tenth < targetTenth_) {
        // Woken before the boundary: a read now would show the old value again.
        arm();
        return;
    }
    tickNow();
}

void TenthTimer::tickNow() {
    if (!enabled_)
        return;
    timer_.stop();
    const std::int64_t tenth = tenthIndex(time_.nowMs());
    skipTo_ = 0;
    emit tick();
    // The tick may have disabled the timer, or enabled it again (which armed it already).
    if (!enabled_ || timer_.isActive())
        return;
    const std::int64_t next = tenthIndex(time_.nowMs()) + 1;
    targetTenth_ = std::max(next, std::min(skipTo_, tenth + kMaxSkip));
    arm();
}

void TenthTimer::skipTo(std::int64_t tenth) {
    skipTo_ = tenth;
}

void TenthTimer::tickSoon() {
    if (!enabled_)
        return;
    const std::int64_t next = tenthIndex(time_.nowMs()) + 1;
    if (targetTenth_ <= next)
        return;
    targetTenth_ = next;
    arm();
}
