#pragma once

#include <vector>

// The game's events as the penalty engine sees them. Everything is game time in tenths of a
// second; the engine never reads a clock of its own.
namespace penalties {

enum class Team { Home = 0, Guest = 1 };

enum class PenaltyKind {
    Minor,
    DoubleMinor,
    Major,
    MajorPlusMinor,
    MinorPlusMisconduct,
    Misconduct,
    GameMisconduct,
    Match,
};

// One penalty given at a stoppage. servedBy is the captain's choice of the substitute who sits
// the time when the penalised player cannot (-1: not named yet; the clock then shows the
// penalised player's number marked as served by a substitute).
struct Assessment {
    Team team = Team::Home;
    int player = 0;
    PenaltyKind kind = PenaltyKind::Minor;
    int servedBy = -1;
};

struct PenaltyEvent {
    // Stoppage: play stopped with nothing else told (the game clock stood still).
    enum class Type { Assess, Goal, Advance, PeriodEnd, Stoppage };

    Type type = Type::Advance;
    // Assess: every penalty given at one stoppage, in the order the captains choose to serve
    // them (the order given is the default). Goal: penalties signalled against the team scored
    // on, still delayed when the goal came.
    std::vector<Assessment> penalties;
    Team scorer = Team::Home; // Goal
    bool penaltyShot = false; // Goal
    int tenths = 0;           // Advance: game time that ran
    // Goal: the captain's choice of who returns when two minors have equal time left (-1: the
    // one that went on the clock first).
    int firstToReturn = -1;

    static PenaltyEvent assess(std::vector<Assessment> given);
    static PenaltyEvent goal(Team scorer, bool penaltyShot = false,
                             std::vector<Assessment> signalled = {}, int firstToReturn = -1);
    static PenaltyEvent advance(int tenths);
    static PenaltyEvent periodEnd();
    static PenaltyEvent stoppage();
};

} // namespace penalties
