#pragma once

#include "penalties/PenaltyEvent.h"
#include "penalties/PenaltyRules.h"

#include <optional>
#include <string>
#include <vector>

// Every penalty the assistant was told in one game, with when it was assessed, when its time
// began to run and when and why it ended: worked out by replaying the assistant's saved game
// through the engine and watching the bench between events and expiries. Times are the
// assistant's game time in tenths.
namespace penalties {

struct PenaltyRecord {
    enum class End {
        Waiting,   // never reached a clock before the game's end
        Running,   // still being served at the game's end
        Expired,   // its time ran out
        Goal,      // a power-play goal ended it
        OffClocks, // nothing to serve on a clock or off it (a game misconduct alone)
    };

    Team team = Team::Home;
    int player = 0;
    PenaltyKind kind = PenaltyKind::Minor;
    long long assessed = 0;
    std::optional<long long> started; // on a clock, or off them for a misconduct or substitutes
    std::optional<long long> ended;
    End end = End::Waiting;
};

// The penalties of a saved assistant game (PenaltyAssistant::save()) with the game time told,
// in the order they were assessed; nothing for a text the assistant cannot load.
std::vector<PenaltyRecord> penaltyHistory(const PenaltyRules& rules, const std::string& text,
                                          long long elapsed);

} // namespace penalties
