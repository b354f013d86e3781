#pragma once

#include "game/DigitGroup.h"
#include "game/GameTime.h"

#include <QString>
#include <cstdint>

// Typed entry of the game clock and the penalty times. Keys are collected, unseen, in one
// buffer shared by the five time fields; Enter turns it into a game time of the form
// minutes[.seconds[tenth]] ("12.30", "1.305", "5"). The buffer is dropped by space, by
// Enter whatever the result, and by the first key typed into another time field.
class TimeEntry {
  public:
    // Feeds one character code (from KeyCodeToAsci) typed into `group`. Returns the time
    // when Enter completes a valid one no greater than `limitSeconds`, else GameTime::none().
    GameTime EnterTimeKey(const DigitGroup& group, int ch, std::int32_t limitSeconds);

    // The time a typed text denotes, GameTime::none() when it is not a valid time. The empty
    // text is 0.
    static GameTime ParseTime(const QString& text);

    const QString& TimeEntryText() const { return TimeEntryText_; }
    const QString& TimeEntryField() const { return TimeEntryField_; }

  private:
    QString TimeEntryText_;
    QString TimeEntryField_;
};
