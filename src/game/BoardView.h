#pragma once

#include "game/DigitGroup.h"
#include "game/FieldId.h"

// What the game logic needs of the board window: its digit fields, the lamps and dots it
// lights, the clock timer and the board's outward actions. The window implements it; tests
// implement it in memory. "Lit" and "dark" are turned into colours by the window.
class BoardView {
  public:
    virtual ~BoardView() = default;

    virtual DigitGroup& field(FieldId id) = 0;

    // The game clock's separator: the lower dot is always lit; the upper one makes the colon.
    virtual void setClockColon(bool upperDotLit) = 0;
    virtual void setPenaltyColon(int slot, bool lit) = 0; // slot 1..4
    virtual void setPenaltyLamp(int slot, bool lit) = 0;  // slot 1..4
    virtual void setGoalLamps(bool homeLit, bool visitorLit) = 0;

    // The clock timer ticks only while the game clock runs.
    virtual void setClockTimerEnabled(bool enabled) = 0;

    virtual void buzzer() = 0;
    virtual void horn() = 0;
    virtual void showHelp() = 0;
    virtual void showOptions() = 0;
    virtual void beep() = 0;
    // Brings the keyboard's NumLock state in line with the chosen mode.
    virtual void updateNumLock() = 0;
};
