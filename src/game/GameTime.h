#pragma once

#include <cstdint>

// A game time: seconds as a signed fixed-point number with four decimals, held as the
// value times 10,000. Clock values are whole tenths; -1 s means "no time entered".
class GameTime {
  public:
    static constexpr std::int64_t kPerSecond = 10000;
    static constexpr std::int64_t kPerTenth = 1000;

    constexpr GameTime() = default;

    static constexpr GameTime fromRaw(std::int64_t raw) { return GameTime(raw); }
    static constexpr GameTime seconds(std::int64_t s) { return GameTime(s * kPerSecond); }
    static constexpr GameTime tenths(std::int64_t t) { return GameTime(t * kPerTenth); }
    // The value time entry returns when no time is complete.
    static constexpr GameTime none() { return GameTime(-kPerSecond); }

    constexpr std::int64_t raw() const { return raw_; }
    constexpr double toSeconds() const { return static_cast<double>(raw_) / kPerSecond; }
    constexpr bool isNone() const { return raw_ == -kPerSecond; }

    constexpr GameTime operator+(GameTime o) const { return GameTime(raw_ + o.raw_); }
    constexpr GameTime operator-(GameTime o) const { return GameTime(raw_ - o.raw_); }
    constexpr GameTime& operator+=(GameTime o) {
        raw_ += o.raw_;
        return *this;
    }
    constexpr GameTime& operator-=(GameTime o) {
        raw_ -= o.raw_;
        return *this;
    }
    constexpr bool operator==(GameTime o) const { return raw_ == o.raw_; }
    constexpr bool operator!=(GameTime o) const { return raw_ != o.raw_; }
    constexpr bool operator<(GameTime o) const { return raw_ < o.raw_; }
    constexpr bool operator<=(GameTime o) const { return raw_ <= o.raw_; }
    constexpr bool operator>(GameTime o) const { return raw_ > o.raw_; }
    constexpr bool operator>=(GameTime o) const { return raw_ >= o.raw_; }

  private:
    constexpr explicit GameTime(std::int64_t raw) : raw_(raw) {}
    std::int64_t raw_ = 0;
};
