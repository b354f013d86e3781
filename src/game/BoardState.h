#pragma once

#include <QString>
#include <array>
#include <cstdint>

// One penalty slot as the audience sees it.
struct PenaltyState {
    int player = -1;         // the player number, -1 while blank
    QString time;            // the time as drawn ("1:45"), empty while the slot is free
    std::int64_t tenths = 0; // the slot's clock as last drawn, in tenths of a second
    bool running = false;    // its clock counts down with the game clock
    bool lit = false;        // its lamp
    bool operator==(const PenaltyState& o) const {
        return player == o.player && time == o.time && tenths == o.tenths && running == o.running &&
               lit == o.lit;
    }
    bool operator!=(const PenaltyState& o) const { return !(*this == o); }
};

// The whole board at one moment, read back from what was drawn: every number field, the
// clocks as shown and in tenths, the lamps. Anything that mirrors or records the board reads
// this, so it sees exactly what the audience sees. Blank number fields read -1.
struct BoardState {
    QString clock;                // the game clock as shown: "9:57", "45.3"
    std::int64_t clockTenths = 0; // the game clock's value as last drawn
    bool clockRunning = false;
    int period = -1;
    int home = -1;
    int visitor = -1;
    int shotsHome = -1;
    int shotsVisitor = -1;
    std::array<PenaltyState, 4> penalties{}; // slots 1 to 4: home 1, home 2, visitor 1, 2
    int whoGoal = 0;                         // 0 no goal lamp, 1 home, 2 visitor
    std::int64_t resetTenths = 0;            // what the reset key sets the clock back to
    // The penalty assistant's game and the game time it has been told; empty and 0 while it
    // is off.
    QString assistant;
    std::int64_t assistantTenths = 0;

    bool operator==(const BoardState& o) const {
        return clock == o.clock && clockTenths == o.clockTenths && clockRunning == o.clockRunning &&
               period == o.period && home == o.home && visitor == o.visitor &&
               shotsHome == o.shotsHome && shotsVisitor == o.shotsVisitor &&
               penalties == o.penalties && whoGoal == o.whoGoal && resetTenths == o.resetTenths &&
               assistant == o.assistant && assistantTenths == o.assistantTenths;
    }
    bool operator!=(const BoardState& o) const { return !(*this == o); }
};

// The text of a clock face read from its digits (element 0 leftmost, -1 blank) with the
// separator between the second and third digit: "9:57", "45.3", " 0.0" trimmed.
QString clockTextOf(const std::array<int, 4>& digits, bool colon);
