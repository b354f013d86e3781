// Situations from the rule books' published examples, played through the penalty engine for
// each rule book: penalties with their times, goals, and what the clocks show afterwards.

#include "penalties/PenaltyState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>

using namespace penalties;

namespace {

int at(int minutes, int seconds) {
    return (minutes * 60 + seconds) * 10;
}

std::string clockText(int tenths) {
    std::string text = std::to_string(tenths / 600) + ":";
    const int seconds = tenths / 10 % 60;
    text += (seconds < 10 ? "0" : "") + std::to_string(seconds);
    if (tenths % 10 != 0)
        text += "." + std::to_string(tenths % 10);
    return text;
}

std::string shownText(const ClockShown& shown) {
    return (shown.substitute ? "s" : "") + std::to_string(shown.player) + " " +
           clockText(shown.tenthsLeft);
}

std::string listText(const char* tag, const std::vector<OffClockPenalty>& list) {
    if (list.empty())
        return {};
    std::string text = std::string(" ") + tag + "{";
    for (std::size_t i = 0; i < list.size(); ++i)
        text +=
            (i ? "," : "") + std::to_string(list[i].player) + " " + clockText(list[i].tenthsLeft);
    return text + "}";
}

// "H4[15 1:30|-] w{6 2:00} h{..} m{..} c{..} x{..}" for one team.
std::string teamText(const PenaltyState& state, Team team) {
    std::string text = (team == Team::Home ? "H" : "G") + std::to_string(state.skaters(team));
    const auto clocks = state.clocks(team);
    text += "[" + (clocks[0] ? shownText(*clocks[0]) : "-") + "|" +
            (clocks[1] ? shownText(*clocks[1]) : "-") + "]";
    const auto waiting = state.waiting(team);
    if (!waiting.empty()) {
        text += " w{";
        for (std::size_t i = 0; i < waiting.size(); ++i)
            text += (i ? "," : "") + shownText(waiting[i]);
        text += "}";
    }
    const auto held = state.held(team);
    if (!held.empty()) {
        text += " h{";
        for (std::size_t i = 0; i < held.size(); ++i)
            text += (i ? "," : "") + std::to_string(held[i].player);
        text += "}";
    }
    text += listText("m", state.misconducts(team));
    text += listText("c", state.coincident(team));
    const auto ejected = state.ejected(team);
    if (!ejected.empty()) {
        text += " x{";
        for (std::size_t i = 0; i < ejected.size(); ++i)
            text += (i ? "," : "") + std::to_string(ejected[i]);
        text += "}";
    }
    return text;
}

std::string stateText(const PenaltyState& state) {
    std::string text = teamText(state, Team::Home) + " " + teamText(state, Team::Guest);
    if (!state.mayReturn().empty()) {
        text += " r{";
        for (std::size_t i = 0; i < state.mayReturn().size(); ++i)
            text += (i ? "," : "") +
                    std::string(state.mayReturn()[i].team == Team::Home ? "H" : "G") +
                    (state.mayReturn()[i].substitute ? "s" : "") +
                    std::to_string(state.mayReturn()[i].player);
        text += "}";
    }
    return text;
}

struct Step {
    int at = 0;
    PenaltyEvent event;
};

Assessment A(int player, PenaltyKind kind = PenaltyKind::Minor, int servedBy = -1) {
    return {Team::Home, player, kind, servedBy};
}
Assessment B(int player, PenaltyKind kind = PenaltyKind::Minor, int servedBy = -1) {
    return {Team::Guest, player, kind, servedBy};
}
Step pen(int time, std::vector<Assessment> given) {
    return {time, PenaltyEvent::assess(given)};
}
Step goalA(int time, std::vector<Assessment> signalled = {}, int first = -1) {
    return {time, PenaltyEvent::goal(Team::Home, false, signalled, first)};
}
Step goalB(int time, std::vector<Assessment> signalled = {}, int first = -1) {
    return {time, PenaltyEvent::goal(Team::Guest, false, signalled, first)};
}
Step shotB(int time) {
    return {time, PenaltyEvent::goal(Team::Guest, true)};
}
Step until(int time) {
    return {time, PenaltyEvent::advance(0)};
}
Step stop(int time) {
    return {time, PenaltyEvent::stoppage()};
}
Step periodEnd(int time) {
    return {time, PenaltyEvent::periodEnd()};
}

using K = PenaltyKind;

// The same situation with the teams swapped: the engine keeps no favourite team.
Team other(Team team) {
    return team == Team::Home ? Team::Guest : Team::Home;
}

PenaltyEvent mirrored(PenaltyEvent event) {
    event.scorer = other(event.scorer);
    for (Assessment& given : event.penalties)
        given.team = other(given.team);
    return event;
}

// "H4[..] G5[..] r{H15,G12}" told of the other team: the teams' parts and letters swapped, and
// those who may return in a fixed order (the engine names the home team's first at one moment).
std::string mirroredText(const std::string& text, bool swap) {
    const std::size_t returns = std::min(text.find(" r{"), text.size());
    std::string teams = text.substr(0, returns);
    if (swap) {
        const std::size_t guest = teams.find(" G");
        teams = "H" + teams.substr(guest + 2) + " G" + teams.substr(1, guest - 1);
    }
    if (returns == text.size())
        return teams;
    std::vector<std::string> names;
    std::string list = text.substr(returns + 3, text.size() - returns - 4);
    for (std::size_t from = 0; from <= list.size();) {
        const std::size_t comma = std::min(list.find(',', from), list.size());
        std::string name = list.substr(from, comma - from);
        if (swap)
            name[0] = name[0] == 'H' ? 'G' : 'H';
        names.push_back(name);
        from = comma + 1;
    }
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : ",") + name;
    return teams + " r{" + joined + "}";
}

struct Situation {
    const char* name;
    std::vector<Step> steps;
    std::string expected;
    std::map<RuleBook, std::string> byBook = {}; // where a book differs
    bool youthMinors = false;
    int overtimeSkaters = 5;
};

// A row played with `skaters` a side in overtime; "OT" rows start after the third period.
Situation overtime(const char* name, int skaters, std::vector<Step> steps, const char* expected) {
    if (std::string(name).rfind("OT", 0) == 0)
        for (int period : {3, 2, 1})
            steps.insert(steps.begin(), periodEnd(at(20 * period, 0)));
    return {name, steps, expected, {}, false, skaters};
}

const Situation situations[] = {
    // NHL Rule 84: in an overtime of three or four a side a penalty adds a skater to the other
    // team; regulation time keeps five.
    overtime("RegulationPlaysFive", 3, {pen(at(3, 0), {A(15)})}, "H4[15 2:00|-] G5[-|-]"),
    overtime("OTThreeOnThreePenaltyIsFourOnThree", 3, {pen(at(61, 0), {A(15)})},
             "H3[15 2:00|-] G4[-|-]"),
    overtime("OTFourOnFourTwoPenaltiesAreFiveOnThree", 4,
             {pen(at(61, 0), {A(15)}), pen(at(61, 30), {A(23)})}, "H3[15 1:30|23 2:00] G5[-|-]"),
    overtime("OTPenaltyToEachTeamIsThreeOnThree", 4,
             {pen(at(61, 0), {A(15)}), pen(at(61, 30), {B(12)})}, "H3[15 1:30|-] G3[12 2:00|-]"),
    overtime("OTFreedClockLetsThePlayerOut", 3, {pen(at(61, 0), {A(15)}), until(at(63, 0))},
             "H3[-|-] G3[-|-] r{H15}"),
    {"MinorRunsOnFirstClock", {pen(at(3, 0), {A(15)}), until(at(4, 0))}, "H4[15 1:00|-] G5[-|-]"},
    {"MinorExpiresAfterTwoMinutes",
     {pen(at(3, 0), {A(15)}), until(at(5, 0))},
     "H5[-|-] G5[-|-] r{H15}"},
    // IIHF Rule 16, Table 14 A1/A2.
    {"DoubleMinorGoalInFirstPartStartsTheSecond",
     {pen(at(3, 0), {A(15, K::DoubleMinor)}), goalB(at(4, 30))},
     "H4[15 2:00|-] G5[-|-]"},
    {"DoubleMinorGoalInSecondPartReturns",
     {pen(at(3, 0), {A(15, K::DoubleMinor)}), goalB(at(5, 30))},
     "H5[-|-] G5[-|-] r{H15}"},
    // IIHF Table 14 B1/B2: the major goes first and no goal ends it.
    {"MajorPlusMinorGoalDuringMajorEndsNothing",
     {pen(at(3, 0), {A(15, K::MajorPlusMinor)}), goalB(at(4, 30))},
     "H4[15 5:30|-] G5[-|-]"},
    {"MajorPlusMinorGoalDuringMinorReturns",
     {pen(at(3, 0), {A(15, K::MajorPlusMinor)}), goalB(at(8, 30))},
     "H5[-|-] G5[-|-] r{H15}"},
    // IIHF Table 14 C3; NHL Rule 26.3 and USA Hockey Rule 408(c) record the minor first.
    {"MajorAndMinorToTwoPlayersGoalEndsTheMinor",
     {pen(at(3, 0), {A(15, K::Major), A(23)}), goalB(at(4, 30))},
     "H4[15 3:30|-] G5[-|-] r{H23}",
     {{RuleBook::Nhl, "H4[-|15 3:30] G5[-|-] r{H23}"},
      {RuleBook::UsaHockey, "H4[-|15 3:30] G5[-|-] r{H23}"}}},
    {"MinorBeforeMajorTakesTheLastFreeClock",
     {pen(at(2, 0), {A(7)}), pen(at(3, 0), {A(15, K::Major), A(23)})},
     "H3[7 1:00|15 5:00] w{23 2:00} G5[-|-]",
     {{RuleBook::Nhl, "H3[7 1:00|23 2:00] w{15 5:00} G5[-|-]"},
      {RuleBook::UsaHockey, "H3[7 1:00|23 2:00] w{15 5:00} G5[-|-]"}}},
    // IIHF Table 14 C6.
    {"MajorPlusMinorThenMinorGoalEndsTheRunningMinor",
     {pen(at(3, 0), {A(15, K::MajorPlusMinor)}), pen(at(4, 0), {A(23)}), goalB(at(4, 30))},
     "H4[15 5:30|-] G5[-|-] r{H23}"},
    // IIHF Table 14 C8: the major ended, the minor after it ends with the goal.
    {"GoalEndsMinorThatFollowedAnExpiredMajor",
     {pen(at(3, 0), {A(15, K::MajorPlusMinor)}), pen(at(6, 0), {A(23)}), goalB(at(8, 0))},
     "H5[-|-] G5[-|-] r{H15}"},
    // IIHF case book, goals against a short-handed team, situations 3 and 8.
    {"LeastTimeLeftReturnsOnGoal",
     {pen(at(3, 0), {A(15)}), pen(at(3, 30), {B(12)}), pen(at(4, 0), {A(23)}), goalB(at(4, 30))},
     "H4[-|23 1:30] G4[12 1:00|-] r{H15}"},
    {"ExpiryAtTheGoalsInstantComesFirst",
     {pen(at(3, 0), {A(15)}), pen(at(3, 30), {B(12)}), pen(at(4, 0), {A(23)}), goalB(at(5, 0))},
     "H4[-|23 1:00] G4[12 0:30|-]"},
    {"ThirdPenaltyWaitsForAFreeClock",
     {pen(at(3, 0), {A(15)}), pen(at(3, 30), {A(23)}), pen(at(4, 0), {A(6)}), until(at(4, 30))},
     "H3[15 0:30|23 1:00] w{6 2:00} G5[-|-]"},
    {"WaitingPenaltyStartsWhenAClockFrees",
     {pen(at(3, 0), {A(15)}), pen(at(3, 30), {A(23)}), pen(at(4, 0), {A(6)}), until(at(5, 0))},
     "H3[6 2:00|23 0:30] h{15} G5[-|-]"},
    // NHL Rule 26.2, USA Hockey Rule 408(b) and its case book, delayed penalties, situation 2:
    // held players leave at a stoppage, or in the order their time ended as skaters are due.
    {"HeldPlayersLeaveAtTheStoppage",
     {pen(at(3, 0), {A(15)}), pen(at(3, 30), {A(23)}), pen(at(4, 0), {A(6)}), stop(at(5, 10))},
     "H3[6 1:50|23 0:20] G5[-|-] r{H15}"},
    {"FirstHeldLeavesWhenASkaterIsDue",
     {pen(at(3, 0), {A(15)}), pen(at(3, 30), {A(23)}), pen(at(4, 0), {A(6)}), until(at(5, 30))},
     "H4[6 1:30|-] h{23} G5[-|-] r{H15}"},
    {"LastHeldWaitsForTheStoppageAtFullStrength",
     {pen(at(3, 0), {A(15)}), pen(at(3, 30), {A(23)}), pen(at(4, 0), {A(6)}), until(at(7, 0))},
     "H5[-|-] h{6} G5[-|-] r{H15,H23}"},
    // USA Hockey Rule 402(c) case book: the first minor ends, the waiting one begins.
    {"GoalStartsTheNextWaitingPenalty",
     {pen(at(1, 0), {A(10)}), pen(at(1, 30), {A(15)}), pen(at(2, 0), {A(5)}), goalB(at(2, 30))},
     "H3[5 2:00|15 1:00] G5[-|-] r{H10}"},
    {"ShortHandedTeamsGoalEndsNothing",
     {pen(at(3, 0), {A(15)}), goalA(at(4, 0))},
     "H4[15 1:00|-] G5[-|-]"},
    {"PenaltyShotGoalEndsNothing",
     {pen(at(3, 0), {A(15)}), shotB(at(4, 0))},
     "H4[15 1:00|-] G5[-|-]"},
    {"EvenStrengthGoalEndsNothing",
     {pen(at(3, 0), {A(10)}), pen(at(3, 30), {B(22)}), goalB(at(4, 0))},
     "H4[10 1:00|-] G4[22 1:30|-]"},
    // NHL Rule 19.1 plays a lone pair four on four; the others substitute.
    {"SinglePairOfMinors",
     {pen(at(3, 0), {A(15), B(12)}), until(at(4, 0))},
     "H5[-|-] c{15 1:00} G5[-|-] c{12 1:00}",
     {{RuleBook::Nhl, "H4[15 1:00|-] G4[12 1:00|-]"}}},
    // Coincident time up, the players wait for a stoppage (NHL Rule 19.1, USA Hockey 402(f)).
    {"SinglePairOfMinorsEnds",
     {pen(at(3, 0), {A(15), B(12)}), until(at(5, 0))},
     "H5[-|-] c{15 0:00} G5[-|-] c{12 0:00}",
     {{RuleBook::Nhl, "H5[-|-] G5[-|-] r{H15,G12}"}}},
    {"CoincidentPlayersLeaveAtTheStoppage",
     {pen(at(3, 0), {A(15), B(12)}), stop(at(5, 10))},
     "H5[-|-] G5[-|-] r{H15,G12}",
     {{RuleBook::Nhl, "H5[-|-] G5[-|-]"}}},
    {"GoalNeverEndsACoincidentMinor",
     {pen(at(3, 0), {A(15), B(12)}), pen(at(3, 30), {A(23)}), goalB(at(4, 0))},
     "H5[-|-] c{15 1:00} G5[-|-] c{12 1:00} r{H23}",
     {{RuleBook::Nhl, "H4[15 1:00|-] G4[12 1:00|-] r{H23}"}}},
    {"CoincidentMinorsWhileShortAreSubstituted",
     {pen(at(2, 0), {A(7)}), pen(at(3, 0), {A(15), B(12)}), until(at(3, 30))},
     "H4[7 0:30|-] c{15 1:30} G5[-|-] c{12 1:30}"},
    {"UnequalPairTheDifferenceGoesOn",
     {pen(at(3, 0), {A(15, K::DoubleMinor), B(12)}), until(at(4, 0))},
     "H4[s15 1:00|-] c{15 3:00} G5[-|-] c{12 1:00}"},
    {"UnequalPairTeamRegainsASkaterFirst",
     {pen(at(3, 0), {A(15, K::DoubleMinor), B(12)}), until(at(5, 0))},
     "H5[-|-] c{15 2:00} G5[-|-] c{12 0:00} r{Hs15}"},
    {"UnequalPairPlayerSitsTheWholeDoubleMinor",
     {pen(at(3, 0), {A(15, K::DoubleMinor), B(12)}), stop(at(5, 0)), until(at(7, 0))},
     "H5[-|-] c{15 0:00} G5[-|-]"},
    {"CoincidentMajorsStayOffTheClocks",
     {pen(at(3, 0), {A(15, K::Major), B(12, K::Major)}), until(at(4, 0))},
     "H5[-|-] c{15 4:00} G5[-|-] c{12 4:00}"},
    {"MinorPlusMisconductSubstituteSitsTheMinor",
     {pen(at(3, 0), {A(15, K::MinorPlusMisconduct)}), until(at(4, 0))},
     "H4[s15 1:00|-] m{15 11:00} G5[-|-]"},
    {"MinorPlusMisconductSubstituteReturnsAfterTwo",
     {pen(at(3, 0), {A(15, K::MinorPlusMisconduct)}), until(at(5, 0))},
     "H5[-|-] m{15 10:00} G5[-|-] r{Hs15}"},
    {"MisconductEndsAfterTwelveMinutes",
     {pen(at(3, 0), {A(15, K::MinorPlusMisconduct)}), until(at(5, 0)), stop(at(15, 0))},
     "H5[-|-] G5[-|-] r{H15}"},
    // IIHF Rule 35.1, USA Hockey Rule 404(a): the ten minutes start when his time penalties
    // end, however they end.
    {"MisconductStartsWhenAGoalEndsTheMinor",
     {pen(at(3, 0), {A(15, K::MinorPlusMisconduct)}), goalB(at(4, 0)), until(at(5, 0))},
     "H5[-|-] m{15 9:00} G5[-|-]"},
    {"MisconductToASeatedPlayerWaitsForHisMinor",
     {pen(at(3, 0), {A(15)}), pen(at(4, 0), {A(15, K::Misconduct)}), until(at(4, 30))},
     "H4[15 0:30|-] m{15 10:30} G5[-|-]"},
    {"MisconductToASeatedPlayerGoalStartsIt",
     {pen(at(3, 0), {A(15)}), pen(at(4, 0), {A(15, K::Misconduct)}), goalB(at(4, 30)),
      until(at(5, 0))},
     "H5[-|-] m{15 9:30} G5[-|-]"},
    {"MisconductToAPlayerSittingCoincidentTimeWaitsForIt",
     {pen(at(3, 0), {A(15), B(12)}), pen(at(4, 0), {A(15, K::Misconduct)})},
     "H5[-|-] m{15 11:00} c{15 1:00} G5[-|-] c{12 1:00}",
     {{RuleBook::Nhl, "H4[15 1:00|-] m{15 11:00} G4[12 1:00|-]"}}},
    {"MisconductTimeUpWaitsForTheStoppage",
     {pen(at(3, 0), {A(15, K::Misconduct)}), until(at(13, 30))},
     "H5[-|-] m{15 0:00} G5[-|-]"},
    // A goalkeeper's minor, and a bench minor (player 0), sat by the team-mate named.
    {"GoalkeepersMinorSatByATeamMate",
     {pen(at(3, 0), {A(1, K::Minor, 7)}), until(at(4, 0))},
     "H4[s7 1:00|-] G5[-|-]"},
    {"BenchMinorSatByThePlayerNamed",
     {pen(at(3, 0), {A(0, K::Minor, 12)}), until(at(5, 0))},
     "H5[-|-] G5[-|-] r{Hs12}"},
    {"CaptainNamesTheSubstitute",
     {pen(at(3, 0), {A(15, K::MinorPlusMisconduct, 9)})},
     "H4[s9 2:00|-] m{15 12:00} G5[-|-]"},
    {"MisconductAloneKeepsFullStrength",
     {pen(at(3, 0), {A(15, K::Misconduct)}), until(at(4, 0))},
     "H5[-|-] m{15 9:00} G5[-|-]"},
    {"GameMisconductIsOffTheClocks",
     {pen(at(3, 0), {A(15, K::GameMisconduct)})},
     "H5[-|-] x{15} G5[-|-]"},
    {"MatchPenaltySubstituteSitsFiveMinutes",
     {pen(at(3, 0), {A(15, K::Match)}), until(at(4, 0))},
     "H4[s15 4:00|-] x{15} G5[-|-]"},
    {"MajorWithGameMisconductSubstituteSits",
     {pen(at(3, 0), {A(15, K::Major), A(15, K::GameMisconduct)}), until(at(4, 0))},
     "H4[s15 4:00|-] x{15} G5[-|-]"},
    // IIHF case book, delayed penalties, situations 1 and 2; USA Hockey Rule 409(b).
    {"GoalDuringSignalWhileShortEndsMinorAndAssesses",
     {pen(at(3, 0), {A(15)}), goalB(at(4, 0), {A(23, K::DoubleMinor)})},
     "H4[23 4:00|-] G5[-|-] r{H15}"},
    {"GoalDuringSignalAtEvenStrengthCancelsTheMinor",
     {pen(at(3, 0), {A(15)}), pen(at(3, 30), {B(12)}), goalB(at(4, 10), {A(23)})},
     "H4[15 0:50|-] G4[12 1:20|-]",
     // Hockey Canada Rule 4.2(b) Note 1: the signal counts as 2:00; 15's 0:50 ends.
     {{RuleBook::HockeyCanada, "H4[23 2:00|-] G4[12 1:20|-] r{H15}"}}},
    {"ShortHandedGoalDuringASignal",
     {pen(at(3, 0), {A(15)}), goalA(at(4, 0), {B(12)})},
     "H4[15 1:00|-] G5[-|-]",
     {{RuleBook::HockeyCanada, "H4[15 1:00|-] G4[12 2:00|-]"}}},
    {"GoalDuringSeveralSignalledMinorsWashesOutOne",
     {goalB(at(4, 0), {A(23), A(24)}), until(at(4, 30))},
     "H4[24 1:30|-] G5[-|-]"},
    {"GoalDuringSignalWhileShortOnlyByAMajorWashesOutTheMinor",
     {pen(at(3, 0), {A(15, K::Major)}), goalB(at(4, 0), {A(23)})},
     "H4[15 4:00|-] G5[-|-]"},
    {"GoalDuringSignalledMajorStillAssessesIt",
     {goalB(at(4, 0), {A(23, K::Major)})},
     "H4[23 5:00|-] G5[-|-]"},
    {"TimeCarriesIntoTheNextPeriod",
     {pen(at(19, 0), {A(15)}), periodEnd(at(20, 0)), until(at(20, 30))},
     "H4[15 0:30|-] G5[-|-]"},
    {"CarriedTimeExpiresInTheNextPeriod",
     {pen(at(19, 0), {A(15)}), periodEnd(at(20, 0)), until(at(21, 0))},
     "H5[-|-] G5[-|-] r{H15}"},
    {"EqualTimeFirstOnTheClockReturnsByDefault",
     {pen(at(3, 0), {A(15), A(23)}), goalB(at(4, 0))},
     "H4[-|23 1:00] G5[-|-] r{H15}"},
    {"EqualTimeCaptainsChoiceReturns",
     {pen(at(3, 0), {A(15), A(23)}), goalB(at(4, 0), {}, 23)},
     "H4[15 1:00|-] G5[-|-] r{H23}"},
    {"SecondPenaltyToASeatedPlayerFollowsHisFirst",
     {pen(at(3, 0), {A(15)}), pen(at(4, 0), {A(15)})},
     "H4[15 3:00|-] G5[-|-]"},
    // A second minor to a player of a four on four pair waits for his first: never one
    // player on both clocks.
    {"SecondMinorDuringFourOnFourFollowsTheFirst",
     {pen(at(3, 0), {A(15), B(12)}), pen(at(3, 30), {A(15)}), until(at(5, 30))},
     "H5[-|-] c{15 0:00} G5[-|-] c{12 0:00}",
     {{RuleBook::Nhl, "H4[15 1:30|-] G5[-|-] r{G12}"}}},
    // USA Hockey Rule 402 (Note): youth minors may be 1:30.
    {"YouthMinorLength",
     {pen(at(3, 0), {A(15)}), until(at(4, 30))},
     "H4[15 0:30|-] G5[-|-]",
     {{RuleBook::UsaHockey, "H5[-|-] G5[-|-] r{H15}"}},
     true},
    // NHL Rule 19.1: a misconduct on top keeps it four on four; a substitute sits the minor.
    {"SinglePairWithMisconduct",
     {pen(at(3, 0), {A(15, K::MinorPlusMisconduct), B(12)}), until(at(4, 0))},
     "H5[-|-] m{15 11:00} G5[-|-] c{12 1:00}",
     {{RuleBook::Nhl, "H4[s15 1:00|-] m{15 11:00} G4[12 1:00|-]"}}},
    {"PlayerNumberZero",
     {pen(at(3, 0), {A(0)}), pen(at(3, 30), {B(0, K::Major)})},
     "H4[0 1:30|-] G4[0 5:00|-]"},
    // A double minor and a minor both running: the goal ends whichever minor has least left.
    {"GoalEndsTheDoubleMinorsFirstPartBeforeALongerMinor",
     {pen(at(3, 0), {A(15, K::DoubleMinor)}), pen(at(4, 0), {A(23)}), goalB(at(4, 30))},
     "H3[15 2:00|23 1:30] G5[-|-]"},
    {"GoalEndsAShorterMinorBeforeTheDoubleMinorsFirstPart",
     {pen(at(3, 0), {A(23)}), pen(at(3, 30), {A(15, K::DoubleMinor)}), goalB(at(4, 30))},
     "H4[-|15 3:00] G5[-|-] r{H23}"},
    {"GoalEndsTheDoubleMinorsSecondPartBeforeALongerMinor",
     {pen(at(3, 0), {A(15, K::DoubleMinor)}), pen(at(5, 30), {A(23)}), goalB(at(6, 0))},
     "H4[-|23 1:30] G5[-|-] r{H15}"},
    // More than one pair at a stoppage: every book, the NHL's too, substitutes them all.
    {"TwoPairsOfMinorsAreSubstituted",
     {pen(at(3, 0), {A(15), A(23), B(12), B(8)}), until(at(4, 0))},
     "H5[-|-] c{15 1:00,23 1:00} G5[-|-] c{12 1:00,8 1:00}"},
    {"PairOfDoubleMinorsIsSubstituted",
     {pen(at(3, 0), {A(15, K::DoubleMinor), B(12, K::DoubleMinor)}), until(at(4, 0))},
     "H5[-|-] c{15 3:00} G5[-|-] c{12 3:00}"},
    // One player given two minors at one stoppage sits both, one after the other.
    {"TwoMinorsToOnePlayerAtOnce",
     {pen(at(3, 0), {A(15), A(15)}), until(at(4, 0))},
     "H4[15 3:00|-] G5[-|-]"},
    {"GoalEndsTheFirstOfOnePlayersTwoMinors",
     {pen(at(3, 0), {A(15), A(15)}), goalB(at(4, 0))},
     "H4[15 2:00|-] G5[-|-]"},
};

const RuleBook books[] = {RuleBook::Iihf, RuleBook::UsaHockey, RuleBook::HockeyCanada,
                          RuleBook::Nhl};

const char* bookName(RuleBook book) {
    switch (book) {
    case RuleBook::Iihf:
        return "Iihf";
    case RuleBook::UsaHockey:
        return "UsaHockey";
    case RuleBook::HockeyCanada:
        return "HockeyCanada";
    case RuleBook::Nhl:
        return "Nhl";
    }
    return "";
}

void PrintTo(const Situation& situation, std::ostream* out) {
    *out << situation.name;
}

// Each situation is played as written and with the teams swapped.
class PenaltySituations : public testing::TestWithParam<std::tuple<RuleBook, Situation, bool>> {};

TEST_P(PenaltySituations, ClocksAndReturnsMatchTheRuleBook) {
    const auto& [book, situation, swap] = GetParam();
    PenaltyRules rules = rulesFor(book);
    if (situation.youthMinors)
        rules.minorTenths = youthMinorTenths(book);
    rules.overtimeSkaters = situation.overtimeSkaters;
    PenaltyState state(rules);
    int now = 0;
    for (const Step& step : situation.steps) {
        if (step.at > now) {
            ASSERT_TRUE(state.apply(PenaltyEvent::advance(step.at - now)));
        }
        now = std::max(now, step.at);
        if (step.event.type != PenaltyEvent::Type::Advance) {
            ASSERT_TRUE(state.apply(swap ? mirrored(step.event) : step.event));
        }
    }
    const auto special = situation.byBook.find(book);
    const std::string expected =
        special != situation.byBook.end() ? special->second : situation.expected;
    EXPECT_EQ(mirroredText(stateText(state), false), mirroredText(expected, swap));
}

INSTANTIATE_TEST_SUITE_P(EveryRuleBook, PenaltySituations,
                         testing::Combine(testing::ValuesIn(books), testing::ValuesIn(situations),
                                          testing::Bool()),
                         [](const testing::TestParamInfo<PenaltySituations::ParamType>& info) {
                             return std::string(bookName(std::get<0>(info.param))) + "_" +
                                    std::get<1>(info.param).name +
                                    (std::get<2>(info.param) ? "_TeamsSwapped" : "");
                         });

TEST(PenaltyRefusals, NonsenseEventsLeaveTheStateAsItWas) {
    PenaltyState state(rulesFor(RuleBook::Iihf));
    ASSERT_TRUE(state.apply(PenaltyEvent::assess({A(15)})));
    const PenaltyState before = state;
    EXPECT_FALSE(state.apply(PenaltyEvent::advance(-5)));
    EXPECT_FALSE(state.apply(PenaltyEvent::assess({})));
    EXPECT_FALSE(state.apply(PenaltyEvent::assess({A(-1)})));
    EXPECT_FALSE(state.apply(PenaltyEvent::assess({A(1000)})));
    EXPECT_FALSE(state.apply(PenaltyEvent::assess({{Team::Home, 4, static_cast<K>(42)}})));
    EXPECT_FALSE(state.apply(PenaltyEvent::assess({{static_cast<Team>(7), 4, K::Minor}})));
    EXPECT_FALSE(state.apply(PenaltyEvent::goal(static_cast<Team>(-1))));
    // Signalled penalties are always against the team scored on.
    EXPECT_FALSE(state.apply(PenaltyEvent::goal(Team::Guest, false, {B(4)})));
    EXPECT_EQ(state, before);
}

TEST(PenaltyRefusals, ZeroLengthRulesStillEndEveryPenalty) {
    PenaltyRules rules;
    rules.minorTenths = 0;
    rules.majorTenths = -3;
    PenaltyState state(rules);
    ASSERT_TRUE(state.apply(PenaltyEvent::assess({A(15), A(7, K::Major)})));
    ASSERT_TRUE(state.apply(PenaltyEvent::advance(1)));
    EXPECT_EQ(state.skaters(Team::Home), 5);
}

} // namespace
