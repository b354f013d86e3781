#pragma once

#include "game/TimeSource.h"

// A time source that tests step by hand.
class FakeTimeSource final : public TimeSource {
  public:
    explicit FakeTimeSource(std::int64_t startMs = 1'000'000) : now_(startMs) {}
    std::int64_t nowMs() const override { return now_; }
    void advance(std::int64_t ms) { now_ += ms; }
    void set(std::int64_t ms) { now_ = ms; }

  private:
    std::int64_t now_;
};
