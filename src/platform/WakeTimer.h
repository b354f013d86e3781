#pragma once

#include <QObject>

#include <cstdint>
#include <memory>

// A one-shot timer that wakes at the start of a millisecond of the monotonic clock (the clock
// SteadyTimeSource reads): start(n) times out as soon as that clock has reached the
// millisecond n after the current one, with no rounding of its own on top. Where the platform
// has no such timer it is a precise QTimer, which may come up to a millisecond later.
class WakeTimer : public QObject {
    Q_OBJECT
  public:
    explicit WakeTimer(QObject* parent = nullptr);
    ~WakeTimer() override;

    // Arms the timer afresh; n <= 0 times out at once (on the next turn of the event loop).
    void start(std::int64_t n);
    // Disarms it; a timeout already due is not delivered.
    void stop();
    bool isActive() const;

  signals:
    void timeout();

  private:
    void watch();

    struct Impl;
    std::unique_ptr<Impl> d_;
};
