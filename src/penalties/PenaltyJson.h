#pragma once

#include "penalties/PenaltyState.h"

#include <QJsonObject>
#include <QString>

// How the live feed tells the penalty assistant's state: the rule book and, for "home" and
// "visitor", the skaters on the ice ("strength", 3 to 5), the penalties on the two clocks
// ("clocks": player, kind, time left as the board shows it), those waiting for a clock in the
// order they start ("waiting": player, kind), running misconducts ("misconducts": player,
// time until he may leave), players sitting coincident penalties ("coincident": player, time
// left; "0:00" once it is up, and he leaves at the next stoppage) and players whose time is up
// but who are held in the box until the next stoppage by a delayed penalty ("held": player, in
// the order they leave).
QJsonObject assistantJson(const penalties::PenaltyState& state, penalties::RuleBook book);

// The feed's name for a kind of penalty: "minor", "doubleMinor", "major", "majorMinor",
// "minorMisconduct", "misconduct", "gameMisconduct", "match".
QString penaltyKindText(penalties::PenaltyKind kind);

// Penalty time as m:ss, any part of a second counted as a whole one (89.1 s reads 1:30).
QString penaltyTimeText(int tenths);

// The overlay's line for `team`: "PP 5v4 1:12" while it plays with more skaters than the
// other team (its skaters, theirs, and the game time until the strength next changes), empty
// otherwise.
QString strengthText(const penalties::PenaltyState& state, penalties::Team team);
