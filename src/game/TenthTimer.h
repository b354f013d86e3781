#pragma once

#include "game/TimeSource.h"
#include "platform/WakeTimer.h"

#include <QObject>

#include <cstdint>

// The board's clock timer `tmrClock1`. While enabled it ticks just after every tenth boundary
// of the time source (each instant where nowMs / 100 changes), which is exactly where the
// counters' readings change, so a redraw on the tick shows a new value within a fraction of a
// millisecond of its true time (where the platform's timer wakes to the millisecond) instead
// of up to a whole tick late. It never ticks before a
// boundary has passed, skips boundaries it has missed rather than catching up, and after
// setEnabled(false) it does not tick again, not even a tick already on its way.
// Whoever hears a tick may say that nothing changes on the next boundaries (skipTo); the timer
// then sleeps through them, and tickSoon() brings the next tick back to the next boundary.
class TenthTimer : public QObject {
    Q_OBJECT
  public:
    explicit TenthTimer(const TimeSource& time, QObject* parent = nullptr);

    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }

    // From a tick: the next tick comes at the boundary starting tenth `tenth` (an index of
    // nowMs / 100, at most kMaxSkip ahead), or at the next boundary if that has passed.
    void skipTo(std::int64_t tenth);
    // Something changed outside the ticks: the next tick comes at the next boundary.
    void tickSoon();

    // A tick now, as at a boundary, for a time source stepped by hand (tests, benchmarks): the
    // next tick is then due as after a tick of the timer's own.
    void tickNow();
    // The tenth whose boundary the next tick waits for.
    std::int64_t nextTickTenth() const { return targetTenth_; }

    // The longest sleep, in tenths: every face the board shows changes within a second.
    static constexpr int kMaxSkip = 10;

  signals:
    void tick();

  private:
    void arm();
    void onTimeout();

    const TimeSource& time_;
    WakeTimer timer_;
    bool enabled_ = false;
    std::int64_t targetTenth_ = 0; // the tenth whose start the armed tick waits for
    std::int64_t skipTo_ = 0;      // asked for by the tick being heard; 0 when not asked
};
