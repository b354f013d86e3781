#pragma once

#include <cstdint>

// Where the counters take the time from. It must be monotonic: a change of the computer's
// wall clock never moves it, so a running game clock cannot jump.
class TimeSource {
  public:
    virtual ~TimeSource() = default;
    // Milliseconds since an arbitrary fixed origin; never decreases.
    virtual std::int64_t nowMs() const = 0;
};

// The real time source: the system's steady clock.
class SteadyTimeSource final : public TimeSource {
  public:
    std::int64_t nowMs() const override;
};
