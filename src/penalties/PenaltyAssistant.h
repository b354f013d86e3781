#pragma once

#include "penalties/PenaltyState.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// The penalty bench as the board's operator keeps it: fed what happens on the board in game
// time (the clock ran, a goal, a period's end, a penalty given), it answers what the four
// penalty clocks show and what the operator should know (who waits, misconducts, strength).
//
// Penalties given while no game time has run since the last one were given at one stoppage
// and are assessed together, so coincident penalties are recognised. Undo takes back the
// operator's last penalty, goal or period end and keeps the game time that has run since, as
// if that event had never been told; redo puts it back where it was. Any event told may also be
// corrected or taken out later, keeping all the others (correct(), remove()).
namespace penalties {

// One event the operator told, as told() lists it for correcting.
struct ToldEvent {
    enum class Kind {
        Penalty,   // a penalty given at a stoppage
        Signalled, // a penalty signalled while play went on
        Whistle,   // play stopped: the signalled penalties were given
        Goal,
        PeriodEnd,
    };
    Kind kind = Kind::Penalty;
    // Penalty and Signalled: the penalised team, the player, the kind of penalty and the
    // team-mate who serves the time (-1: none named). Goal: the scoring team and whether it
    // was scored on a penalty shot.
    Team team = Team::Home;
    int player = 0;
    PenaltyKind penalty = PenaltyKind::Minor;
    int servedBy = -1;
    bool penaltyShot = false;
    long long at = 0; // the game time it happened, in tenths from the start of the game
};

class PenaltyAssistant {
  public:
    explicit PenaltyAssistant(PenaltyRules rules = {});

    // Replays everything told so far under other rules.
    void setRules(const PenaltyRules& rules);
    const PenaltyRules& rules() const { return rules_; }

    // The game clock ran `tenths`; nothing else happened meanwhile. Not an operator event:
    // it is never undone and keeps what was undone for redo.
    void advance(int tenths);
    // The game clock, standing, was set back `tenths` (it had run on after the stop): that
    // game time is given back, but never from before the last event told, whose time stays as
    // it was. Answers the tenths given back; what waits for redo after the new time is dropped.
    long long giveBack(long long tenths);
    // Play stopped (the game clock stood still): held players and those whose time off the
    // clocks is up leave the box. Like advance(), never undone; kept with the game.
    void stoppage();
    // Operator events. Each answers false, and changes nothing, when the engine refuses it.
    bool goal(Team scorer, bool penaltyShot = false);
    bool periodEnd();
    bool assess(const Assessment& given);
    // A penalty reported after play went on again: given at the game time `at` (clamped to
    // elapsed()) of the stoppage, judged with the penalties given there, as if typed then.
    bool assessLate(const Assessment& given, long long at);
    // The latest goal of `scorer` taken back (a goal disallowed, a score mistyped): the game
    // is played again without it, so what it ended runs again. False when `scorer` has none.
    bool takeBackGoal(Team scorer);
    // A penalty the referee signals while play goes on: it waits for the stoppage (whistle())
    // or goes with the next goal against its team, as the rule book says (see PenaltyState).
    bool signal(const Assessment& given);
    // Play stopped: the signalled penalties are given now. False when none waits.
    bool whistle();
    // The signalled penalties waiting for the stoppage, in the order they were signalled.
    std::vector<Assessment> signalled() const;

    // The latest goal told was scored on a penalty shot: it is told again as one, so it ends
    // a minor only where the rule book says so. False when no goal was told, or it was one.
    bool markLastGoalPenaltyShot();
    // The captain chose `player` to return on the latest goal, where two minors had equal time
    // left: the goal is told again with that choice. False when no goal was told.
    bool chooseReturnOnLastGoal(int player);

    bool undo();
    bool redo();
    bool canUndo() const { return !actions_.empty(); }
    bool canRedo() const { return !undone_.empty(); }

    // The events told so far, ordered by game time; events told at one game time in the
    // order they were told.
    std::vector<ToldEvent> told() const;
    // Changes the event told()[index]: a penalty's team, player, kind and the team-mate who
    // serves, a goal's team and penalty shot, and any event's game time, which may move it
    // among the others (events at one game time keep their order; at its new game time the
    // moved event goes before the events there when moved later, after them when moved
    // earlier). The game is played again from all events; penalties at one game time with no
    // goal between are one stoppage, as when they were told. False, changing nothing, for an
    // index out of range, another kind of event, a game time below 0 or after elapsed(), a
    // penalty the engine refuses, or a whistle left with no signalled penalty to give. Drops
    // what waits for redo.
    bool correct(std::size_t index, const ToldEvent& corrected);
    // Takes the event told()[index] out and plays the game again from the others; refused
    // as correct() is.
    bool remove(std::size_t index);

    // The four penalty clocks in the board's order: home 1, home 2, visitor 1, visitor 2.
    std::array<std::optional<ClockShown>, 4> boardClocks() const;
    const PenaltyState& state() const { return state_; }
    // Game time told so far, in tenths.
    long long elapsed() const { return elapsed_; }

    // The operator's events as text, for the game's journal; never empty, so a saved
    // assistant is told from none. load() takes such a text with the game time told so far
    // and puts the game back (nothing to redo); a text it cannot read changes nothing.
    const std::string& save() const { return saved_; }
    bool load(const std::string& text, long long elapsed);

    // Game time, in tenths, until anything the assistant shows (boardClocks(), summary())
    // changes while the game clock runs and nothing is told, capped at `limit`; at least 1.
    int tenthsToNextChange(int limit) const;

    // What the timekeeper must tell the referee: a player's majors or misconducts that bring
    // a game misconduct by the book, for example "H 7: 2nd major, game misconduct".
    std::vector<std::string> warnings() const;

    // One line for the operator: strength, waiting and held players, running misconducts and
    // warnings of each team, for example "H 5 on 4 V; V waits 12 (2:00); H misconduct 7 (9:41)".
    std::string summary() const;

    // The engine's events for what was told, with the game time that ran between them.
    std::vector<PenaltyEvent> events() const;

  private:
    struct Action {
        PenaltyEvent::Type type = PenaltyEvent::Type::Assess;
        long long at = 0; // game time told before it
        Assessment penalty;
        Team scorer = Team::Home;
        bool penaltyShot = false;
        int firstToReturn = -1; // the captain's choice between equal minors; -1: none
        bool signalled = false; // Assess: signalled, play going on
        bool whistle = false;   // Assess of what was signalled, at the stoppage
    };

    bool add(const Action& action);
    bool joinsStoppage(const Action& action) const;
    bool replaceActions(std::vector<Action> actions);
    static ToldEvent toldOf(const Action& action);
    void rebuild();
    static std::vector<PenaltyEvent> eventsOf(const std::vector<Action>& actions,
                                              const std::vector<long long>& stoppages,
                                              long long elapsed);
    static bool signalsOf(const std::vector<Action>& actions, std::vector<Assessment>& waiting);
    std::string written() const;

    PenaltyRules rules_;
    std::vector<Action> actions_;
    std::vector<Action> undone_;
    long long elapsed_ = 0;
    std::vector<long long> stoppages_; // game times play stopped, in order
    PenaltyState state_;
    std::string saved_; // written() of the current actions, kept as they change
};

// A time in tenths as the operator reads it, rounded up to whole seconds: "2:00", "0:07".
std::string clockText(int tenths);

} // namespace penalties
