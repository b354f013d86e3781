#pragma once

// Which rule book the penalty engine follows, and the lengths it plays. Times are game time in
// tenths of a second.
namespace penalties {

enum class RuleBook { Iihf, UsaHockey, HockeyCanada, Nhl };

struct PenaltyRules {
    RuleBook book = RuleBook::Iihf;
    int minorTenths = 1200; // 1:30 where a league plays short youth minors
    int majorTenths = 3000;
    int misconductTenths = 6000;
    // Skaters a side in overtime (periods after the third) at even strength: 5, 4 or 3.
    int overtimeSkaters = 5;
};

inline bool operator==(const PenaltyRules& a, const PenaltyRules& b) {
    return a.book == b.book && a.minorTenths == b.minorTenths && a.majorTenths == b.majorTenths &&
           a.misconductTenths == b.misconductTenths && a.overtimeSkaters == b.overtimeSkaters;
}
inline bool operator!=(const PenaltyRules& a, const PenaltyRules& b) {
    return !(a == b);
}

// The rules for a book with its standard lengths.
PenaltyRules rulesFor(RuleBook book);

// The shortest minor the book lets a youth league play.
int youthMinorTenths(RuleBook book);

// Whether one minor to each team at one stoppage, with nothing else on the clocks, is played
// four on four instead of being served with substitutes.
bool playsSinglePairFourOnFour(RuleBook book);

// Whether a goal on a penalty shot ends a minor of the short-handed team.
bool penaltyShotGoalEndsMinor(RuleBook book);

// Whether a minor and a major to different players of one team at one stoppage are recorded
// minor first, whatever order they were given in.
bool recordsMinorBeforeMajor(RuleBook book);

// Whether a signalled minor counts as a running minor with its full time left when a goal
// ends a minor, and a goal by a short-handed team leaves the signalled penalties to be given.
bool signalledMinorRunsForGoals(RuleBook book);

// The number of majors to one player in a game that brings a game misconduct by the book.
int majorsForGameMisconduct(RuleBook book);
// The same for misconducts.
int misconductsForGameMisconduct(RuleBook book);

// The periods of regulation time; later periods are overtime.
constexpr int kRegulationPeriods = 3;

} // namespace penalties
