#pragma once

#include "penalties/PenaltyAssistant.h"

#include <string>
#include <vector>

// The penalty assistant's whole bench as the timekeeper reads it: for each team its two
// clocks, who waits and in which order, players held in the box by a delayed penalty,
// misconducts, players sitting coincident penalties,
// signalled penalties and who is out of the game; and the strength on the ice. Plain text,
// one line each, for the console.
namespace penalties {

// "5 on 4", home first; with a power play "5 on 4, PP H 1:12" (the time until the short team
// gets its first skater back).
std::string strengthLine(const PenaltyState& state);

// The team's bench, line by line, for example "Clock 1: 12 minor 1:12", "Waits: 9 major
// 5:00", "Misconduct: 5, 8:41 left".
std::vector<std::string> benchLines(const PenaltyAssistant& assistant, Team team);

} // namespace penalties
