#include "board/TenthTimer.h"

#include "board/modCount.h"

#include <algorithm>

namespace {
// The tick is aimed this far past the boundary so that a read on it lands in the new tenth
// even if the timer and the time source round their milliseconds differently.
constexpr std::int64_t kLeadMs = 1;
constexpr std::int64_t kTenthMs = 100;
} // namespace

TenthTimer::TenthTimer(const TimeSource& time, QObject* parent) : QObject(parent), time_(time) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &TenthTimer::onTimeout);
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
    const std::int64_t wait = targetTenth_ * kTenthMs + kLeadMs - time_.nowMs();
    timer_.start(static_cast<int>(std::clamp<std::int64_t>(wait, 0, kTenthMs + kLeadMs)));
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
    emit tick();
    // The tick may have disabled the timer, or enabled it again (which armed it already).
    if (!enabled_ || timer_.isActive())
        return;
    targetTenth_ = tenthIndex(time_.nowMs()) + 1;
    arm();
}
