#pragma once

#include "game/GameTime.h"
#include "game/TimeSource.h"

#include <array>
#include <cstdint>
#include <functional>

// The tenth of a second of the time source that the instant `ms` falls in: floor(ms / 100),
// right for instants before the origin too. Counter readings change exactly where it does.
constexpr std::int64_t tenthIndex(std::int64_t ms) {
    return ms / 100 - ((ms % 100 != 0 && ms < 0) ? 1 : 0);
}

// The five count-down clocks of the board: counter 0 is the game clock, counters 1 to 4 the
// penalty clocks of home slot 1, home slot 2, visitor slot 1 and visitor slot 2.
//
// A counter never counts ticks: every read works the time left out afresh from the time
// source, the instant of the run's start and the time banked by earlier runs, so a late or
// missed redraw never costs accuracy. Time left moves in tenth-of-a-second steps, which fall
// on the time source's own tenth boundaries (every instant where nowMs / 100 changes), never
// goes below 0, and a counter stopped between two reads keeps the value of its last read.
// The time source is monotonic, so a change of the computer's clock cannot move a counter.
// An index outside 0 to 4 is ignored by every operation.
class modCount {
  public:
    static constexpr int kCounters = 5;

    // The state of one counter, as the clock keeps it.
    struct CounterState {
        GameTime CounterTotal;   // the time the counter was last set to
        GameTime CounterBanked;  // time run in earlier runs since it was set
        GameTime CounterElapsed; // time run in this run, as of its last read
        bool CounterRunningFlag = false;
        bool started = false;     // false until the counter is first started
        std::int64_t startMs = 0; // time source instant at which this run started
    };

    // `beep` is the system beep, sounded when the running state of a bad index is asked.
    explicit modCount(const TimeSource& time, std::function<void()> beep = {});

    void StartCounter(int i);
    void StopCounter(int i);
    // Sets the counter to `t` with nothing banked, and leaves it stopped.
    void SetCounter(GameTime t, int i);
    // The time left: never below 0; 0 for a bad index.
    GameTime ReadCounter(int i);
    // Whether the counter runs; a bad index beeps and answers false.
    bool CounterRunning(int i);

    // a / b rounded down to a whole number, held to the 16-bit range; 0 when b is 0.
    static int DivInt(GameTime a, GameTime b);

    // A copy of the counter's state (a default state for a bad index).
    CounterState counterState(int i) const;

  private:
    static bool valid(int i) { return i >= 0 && i < kCounters; }

    const TimeSource& time_;
    std::function<void()> beep_;
    std::array<CounterState, kCounters> counters_{};
};
