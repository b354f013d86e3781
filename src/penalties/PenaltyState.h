#pragma once

#include "penalties/PenaltyEvent.h"
#include "penalties/PenaltyRules.h"

#include <array>
#include <optional>
#include <vector>

// The penalty bench of both teams at one moment of game time: what the two penalty clocks of
// each team show, who waits, the strength on the ice, running misconducts and who may return.
// A plain value: apply() moves it on by one event, copies are snapshots, and replaying the
// same events from the same rules always gives an equal state.
namespace penalties {

// One stretch of a time penalty: a double minor is two minor parts, a major and minor a major
// part followed by a minor part.
struct PenaltyPart {
    int tenthsLeft = 0;
    bool minor = true;
};

struct TimePenalty {
    int player = 0;              // who sits it: the penalised player or his substitute
    int offender = 0;            // the penalised player
    bool substitute = false;     // sat by a substitute for the penalised player
    bool coincidentPair = false; // one of a pair played four on four; no goal ends it
    int slot = -1;               // penalty clock 0 or 1; -1 while waiting
    std::vector<PenaltyPart> parts;

    int tenthsLeft() const;
};

// A penalty that keeps a player off the ice without making his team short: a misconduct, or
// coincident time served while substitutes play. Time up (tenthsLeft 0), the player stays in
// the box until the next stoppage.
struct OffClockPenalty {
    int player = 0;
    int tenthsLeft = 0;
    bool misconduct = false;
    // A misconduct's ten minutes run only after the player's time penalties: this much
    // coincident time first, and never while a penalty of his is in the box.
    int afterTenths = 0;
};

struct ClockShown {
    int player = 0;
    int tenthsLeft = 0;
    bool substitute = false;
    PenaltyKind kind = PenaltyKind::Minor; // what is left to serve: servedKind()
};

struct PlayerReturn {
    Team team = Team::Home;
    int player = 0;
    bool substitute = false; // the substitute who sat the time for this player
};

bool operator==(const PenaltyPart& a, const PenaltyPart& b);
bool operator==(const TimePenalty& a, const TimePenalty& b);
bool operator==(const OffClockPenalty& a, const OffClockPenalty& b);
bool operator==(const PlayerReturn& a, const PlayerReturn& b);

class PenaltyState {
  public:
    explicit PenaltyState(PenaltyRules rules = {});

    // Moves the state on by one event. An event that makes no sense (negative time, unknown
    // team or kind, signalled penalties against the scorer) is refused: returns false and
    // leaves the state as it was.
    bool apply(const PenaltyEvent& event);

    std::array<std::optional<ClockShown>, 2> clocks(Team team) const;
    std::vector<ClockShown> waiting(Team team) const;
    // Skaters on the ice: five less the running penalties; in an overtime played with fewer
    // (PenaltyRules::overtimeSkaters) a penalty adds a skater to the other team instead.
    int skaters(Team team) const;
    bool shortHanded(Team team) const;
    // Running misconducts, each with the time until the player may leave: his time penalties
    // still to serve and then the ten minutes.
    std::vector<OffClockPenalty> misconducts(Team team) const;
    std::vector<OffClockPenalty> coincident(Team team) const;
    // Players whose time is up but who stay in the box until the next stoppage, because a
    // delayed penalty took their clock and their team got no skater back; in the order their
    // time ended, which is the order they leave in when the team gets skaters back.
    const std::vector<PlayerReturn>& held(Team team) const { return bench(team).held; }
    std::vector<int> ejected(Team team) const;
    // The team's time penalties in serving order and what it serves off the clocks, as held.
    const std::vector<TimePenalty>& timePenalties(Team team) const { return bench(team).box; }
    const std::vector<OffClockPenalty>& offClock(Team team) const { return bench(team).offClock; }
    // The players who may leave the box with the last event applied: whose time ended while
    // their team got a skater back, or, at a stoppage, held players and those whose
    // coincident or misconduct time is up (NHL Rules 19.1 and 26.2, USA Hockey Rules 402(f),
    // 404(a) and 408(b)).
    const std::vector<PlayerReturn>& mayReturn() const { return returns_; }
    int period() const { return period_; }
    const PenaltyRules& rules() const { return rules_; }

    bool operator==(const PenaltyState& other) const;
    bool operator!=(const PenaltyState& other) const { return !(*this == other); }

  private:
    struct Bench {
        std::vector<TimePenalty> box; // in serving order
        std::vector<OffClockPenalty> offClock;
        std::vector<int> ejected;
        std::vector<PlayerReturn> held;
        bool operator==(const Bench& other) const;
    };

    void assess(const std::vector<Assessment>& given);
    bool goal(Team scorer, bool penaltyShot, int firstToReturn, bool evenIfNotShort = false);
    void goalDuringSignal(const PenaltyEvent& event);
    void advance(int tenths);
    std::optional<PlayerReturn> endFrontPart(Team team, std::size_t index);
    void release();
    void letOut(Team team, std::vector<PlayerReturn> ended, int runningBefore);
    int running(Team team) const; // penalties on the team's clocks
    bool inBox(Team team, int offender) const;
    int boxTenths(Team team, int offender) const;
    void fillClocks(Team team);
    void queue(Team team, TimePenalty penalty);
    Bench& bench(Team team) { return benches_[static_cast<int>(team)]; }
    const Bench& bench(Team team) const { return benches_[static_cast<int>(team)]; }

    PenaltyRules rules_;
    std::array<Bench, 2> benches_;
    std::vector<PlayerReturn> returns_;
    int period_ = 1;
};

// The state after the events, applied in order from the start of a game.
PenaltyState replay(const PenaltyRules& rules, const std::vector<PenaltyEvent>& events);

// The time left in all parts together.
int tenthsIn(const std::vector<PenaltyPart>& parts);
// The kind of what is left to serve: one minor part a minor, more a double minor; a major
// part alone a major, with minor parts a major plus minor.
PenaltyKind servedKind(const std::vector<PenaltyPart>& parts);
bool validAssessment(const Assessment& given);
Team opponent(Team team);

} // namespace penalties
