#pragma once

#include "penalties/PenaltyAssistant.h"

#include <QString>
#include <optional>
#include <vector>

// Where the penalty assistant's events fall as the timekeeper reads the game: the period and
// the game clock's reading at that moment, the clock counting each period down from the
// board's reset value. Game time in the assistant runs on across periods; a period end
// starts the next period's count.
struct GameMoment {
    int period = 1;
    long long clockTenths = 0; // what the game clock read, reset value minus time played
};

// The moment of each event, in the order told() lists them.
std::vector<GameMoment> momentsOf(const std::vector<penalties::ToldEvent>& events,
                                  long long resetTenths);

// The game time of a clock reading in the period that `index` is in: what a corrected event at
// that reading is told; nothing for a reading outside the period's length.
std::optional<long long> gameTimeAt(const std::vector<penalties::ToldEvent>& events,
                                    std::size_t index, long long clockTenths,
                                    long long resetTenths);

// One event as the console lists it: "P2 13:41  penalty V 12 minor".
QString toldEventLine(const penalties::ToldEvent& event, const GameMoment& moment);

// "13:41" or "0:07.5" for tenths, and back from what the timekeeper types ("13:41",
// "7:05.3", "45"); nothing for a text that is no clock reading.
QString clockReading(long long tenths);
std::optional<long long> readClock(const QString& text);
