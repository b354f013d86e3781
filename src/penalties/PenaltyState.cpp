#include "penalties/PenaltyState.h"

#include <algorithm>

namespace penalties {

namespace {

bool validTeam(Team team) {
    const int value = static_cast<int>(team);
    return value == 0 || value == 1;
}

// What is left of a penalty signalled against a team that was not short-handed when the other
// team scored: the goal takes the place of one minor (IIHF case book Rule 111, signalled
// penalties, situation 2). The other books' texts for this case were not found and the same
// commonly documented behaviour is kept; no text at all was found for a signalled double minor,
// so one of its minors is taken, as for a single minor.
std::optional<PenaltyKind> afterGoalOnSignal(PenaltyKind kind) {
    switch (kind) {
    case PenaltyKind::Minor:
        return std::nullopt;
    case PenaltyKind::DoubleMinor:
        return PenaltyKind::Minor;
    case PenaltyKind::MinorPlusMisconduct:
        return PenaltyKind::Misconduct;
    default:
        return kind;
    }
}

} // namespace

int tenthsIn(const std::vector<PenaltyPart>& parts) {
    int sum = 0;
    for (const PenaltyPart& part : parts)
        sum += part.tenthsLeft;
    return sum;
}

PenaltyKind servedKind(const std::vector<PenaltyPart>& parts) {
    const auto minors = std::count_if(parts.begin(), parts.end(),
                                      [](const PenaltyPart& part) { return part.minor; });
    if (minors == static_cast<std::ptrdiff_t>(parts.size()))
        return minors > 1 ? PenaltyKind::DoubleMinor : PenaltyKind::Minor;
    return minors > 0 ? PenaltyKind::MajorPlusMinor : PenaltyKind::Major;
}

int TimePenalty::tenthsLeft() const {
    return tenthsIn(parts);
}

bool operator==(const PenaltyPart& a, const PenaltyPart& b) {
    return a.tenthsLeft == b.tenthsLeft && a.minor == b.minor;
}

bool operator==(const TimePenalty& a, const TimePenalty& b) {
    return a.player == b.player && a.offender == b.offender && a.substitute == b.substitute &&
           a.coincidentPair == b.coincidentPair && a.slot == b.slot && a.parts == b.parts;
}

bool operator==(const OffClockPenalty& a, const OffClockPenalty& b) {
    return a.player == b.player && a.tenthsLeft == b.tenthsLeft && a.misconduct == b.misconduct &&
           a.afterTenths == b.afterTenths;
}

bool operator==(const PlayerReturn& a, const PlayerReturn& b) {
    return a.team == b.team && a.player == b.player && a.substitute == b.substitute;
}

bool PenaltyState::Bench::operator==(const Bench& other) const {
    return box == other.box && offClock == other.offClock && ejected == other.ejected &&
           held == other.held;
}

Team opponent(Team team) {
    return team == Team::Home ? Team::Guest : Team::Home;
}

bool validAssessment(const Assessment& given) {
    const int kind = static_cast<int>(given.kind);
    return validTeam(given.team) && kind >= 0 && kind <= static_cast<int>(PenaltyKind::Match) &&
           given.player >= 0 && given.player <= 999 && given.servedBy >= -1 &&
           given.servedBy <= 999;
}

PenaltyState::PenaltyState(PenaltyRules rules) : rules_(rules) {
    // A length of zero would stall the clocks; every penalty lasts at least a tenth.
    rules_.minorTenths = std::max(1, rules_.minorTenths);
    rules_.majorTenths = std::max(1, rules_.majorTenths);
    rules_.misconductTenths = std::max(1, rules_.misconductTenths);
}

bool PenaltyState::apply(const PenaltyEvent& event) {
    switch (event.type) {
    case PenaltyEvent::Type::Assess:
        if (event.penalties.empty() ||
            !std::all_of(event.penalties.begin(), event.penalties.end(), validAssessment))
            return false;
        returns_.clear();
        release();
        assess(event.penalties);
        return true;
    case PenaltyEvent::Type::Goal: {
        if (!validTeam(event.scorer))
            return false;
        const Team against = opponent(event.scorer);
        for (const Assessment& signalled : event.penalties)
            if (!validAssessment(signalled) || signalled.team != against)
                return false;
        returns_.clear();
        release();
        if (signalledMinorRunsForGoals(rules_.book) && !event.penaltyShot) {
            goalDuringSignal(event);
            return true;
        }
        const bool endedOne = goal(event.scorer, event.penaltyShot, event.firstToReturn);
        // USA Hockey Rule 409(b), IIHF case book Rule 111 signalled penalties situation 1 and
        // Table 14 C5: a team already short by minors gets its signalled penalties in full after
        // the goal ended its first minor. Otherwise (even strength, or short only by a major
        // no goal ends) the goal takes the place of one signalled minor, not of all of them.
        std::vector<Assessment> signalled;
        bool washed = endedOne;
        for (Assessment given : event.penalties) {
            if (!washed && given.kind != afterGoalOnSignal(given.kind)) {
                washed = true;
                const std::optional<PenaltyKind> left = afterGoalOnSignal(given.kind);
                if (!left)
                    continue;
                given.kind = *left;
            }
            signalled.push_back(given);
        }
        if (!signalled.empty())
            assess(signalled);
        return true;
    }
    case PenaltyEvent::Type::Advance:
        if (event.tenths < 0)
            return false;
        returns_.clear();
        advance(event.tenths);
        return true;
    case PenaltyEvent::Type::PeriodEnd:
        // Time left carries into the next period (every book): nothing on the clocks changes.
        returns_.clear();
        release();
        ++period_;
        return true;
    case PenaltyEvent::Type::Stoppage:
        returns_.clear();
        release();
        return true;
    }
    return false;
}

void PenaltyState::fillClocks(Team team) {
    // A waiting penalty starts when a clock frees, in serving order; never more than two run,
    // so a team is never more than two skaters short (IIHF case book Rule 111 situation 7,
    // USA Hockey Rule 402(c) case book).
    auto& box = bench(team).box;
    std::array<bool, 2> used{};
    for (const TimePenalty& penalty : box)
        if (penalty.slot >= 0)
            used[penalty.slot] = true;
    for (std::size_t i = 0; i < box.size(); ++i) {
        TimePenalty& penalty = box[i];
        if (penalty.slot >= 0)
            continue;
        // One player never sits on both clocks: his next penalty follows the one he serves.
        const auto sameSitter = [&penalty](const TimePenalty& earlier) {
            return earlier.player == penalty.player && earlier.substitute == penalty.substitute;
        };
        if (std::any_of(box.begin(), box.begin() + static_cast<std::ptrdiff_t>(i), sameSitter))
            continue;
        const int free = !used[0] ? 0 : (!used[1] ? 1 : -1);
        if (free < 0)
            return;
        penalty.slot = free;
        used[free] = true;
    }
}

// The player who sat the penalty, when it ended whole and he has no other penalty to sit.
std::optional<PlayerReturn> PenaltyState::endFrontPart(Team team, std::size_t index) {
    auto& box = bench(team).box;
    TimePenalty& penalty = box[index];
    penalty.parts.erase(penalty.parts.begin());
    if (!penalty.parts.empty())
        return std::nullopt;
    const PlayerReturn done{team, penalty.player, penalty.substitute};
    box.erase(box.begin() + static_cast<std::ptrdiff_t>(index));
    const auto& offClock = bench(team).offClock;
    const bool sitsMore =
        std::any_of(box.begin(), box.end(),
                    [&done](const TimePenalty& next) {
                        return next.player == done.player && next.substitute == done.substitute;
                    }) ||
        (!done.substitute &&
         std::any_of(offClock.begin(), offClock.end(),
                     [&done](const OffClockPenalty& off) { return off.player == done.player; }));
    if (sitsMore)
        return std::nullopt;
    return done;
}

// Play stopped: held players and those whose time off the clocks is up leave the box.
void PenaltyState::release() {
    for (int team = 0; team < 2; ++team) {
        const Team side = static_cast<Team>(team);
        Bench& own = benches_[team];
        returns_.insert(returns_.end(), own.held.begin(), own.held.end());
        own.held.clear();
        for (auto off = own.offClock.begin(); off != own.offClock.end();) {
            if (off->tenthsLeft <= 0) {
                returns_.push_back({side, off->player});
                off = own.offClock.erase(off);
            } else {
                ++off;
            }
        }
    }
}

// Players whose time just ended leave only as the team gets skaters back; while a delayed
// penalty takes the freed clock they are held, and those held longest leave first (NHL Rule
// 26.2, USA Hockey Rule 408(b)).
void PenaltyState::letOut(Team team, std::vector<PlayerReturn> ended, int runningBefore) {
    auto& held = bench(team).held;
    held.insert(held.end(), ended.begin(), ended.end());
    const int gained = std::max(0, runningBefore - running(team));
    const auto leaving = held.begin() + std::min<std::ptrdiff_t>(gained, held.size());
    returns_.insert(returns_.end(), held.begin(), leaving);
    held.erase(held.begin(), leaving);
}

bool PenaltyState::inBox(Team team, int offender) const {
    const auto& box = bench(team).box;
    return std::any_of(box.begin(), box.end(),
                       [offender](const TimePenalty& p) { return p.offender == offender; });
}

int PenaltyState::boxTenths(Team team, int offender) const {
    int sum = 0;
    for (const TimePenalty& p : bench(team).box)
        if (p.offender == offender)
            sum += p.tenthsLeft();
    return sum;
}

// Hockey Canada Rule 4.2(b) with its Note 1: a signalled minor counts as a minor with its full
// time left when a goal ends the minor with the least time left, also when it is the signal
// alone that would make the team short; a goal by a short-handed team takes no signalled
// penalty with it.
void PenaltyState::goalDuringSignal(const PenaltyEvent& event) {
    const Team against = opponent(event.scorer);
    std::vector<Assessment> signalled = event.penalties;
    const auto washable = std::find_if(signalled.begin(), signalled.end(), [](const Assessment& s) {
        return s.kind != afterGoalOnSignal(s.kind);
    });
    if (shortHanded(event.scorer) || washable == signalled.end()) {
        goal(event.scorer, false, event.firstToReturn);
    } else {
        int least = rules_.minorTenths + 1;
        for (const TimePenalty& penalty : bench(against).box)
            if (penalty.slot >= 0 && !penalty.coincidentPair && penalty.parts.front().minor)
                least = std::min(least, penalty.parts.front().tenthsLeft);
        if (least < rules_.minorTenths) {
            goal(event.scorer, false, event.firstToReturn, true);
        } else if (const std::optional<PenaltyKind> left = afterGoalOnSignal(washable->kind)) {
            washable->kind = *left;
        } else {
            signalled.erase(washable);
        }
    }
    if (!signalled.empty())
        assess(signalled);
}

// True when the goal ended a minor.
bool PenaltyState::goal(Team scorer, bool penaltyShot, int firstToReturn, bool evenIfNotShort) {
    const Team against = opponent(scorer);
    // Only a team outnumbered on the ice loses a minor (IIHF Rule 16 with Table 14, USA Hockey
    // Rule 402(c), Hockey Canada Rule 4.2(b), an old NHL Rule 27; the current NHL text was not
    // found); a goal by the short-handed team
    // ends nothing.
    if (!shortHanded(against) && !evenIfNotShort)
        return false;
    if (penaltyShot && !penaltyShotGoalEndsMinor(rules_.book))
        return false;
    auto& box = bench(against).box;
    std::optional<std::size_t> chosen;
    for (std::size_t i = 0; i < box.size(); ++i) {
        const TimePenalty& penalty = box[i];
        // Majors and coincident minors never end on a goal.
        if (penalty.slot < 0 || penalty.coincidentPair || !penalty.parts.front().minor)
            continue;
        if (!chosen) {
            chosen = i;
            continue;
        }
        // The minor with the least time left in its current part ends (IIHF Table 14, USA
        // Hockey Rule 402 case book); with equal time the captain chooses (IIHF Table 14 C9,
        // USA Hockey Rule 402(d)).
        const int left = penalty.parts.front().tenthsLeft;
        const int best = box[*chosen].parts.front().tenthsLeft;
        if (left < best || (left == best && penalty.player == firstToReturn &&
                            box[*chosen].player != firstToReturn))
            chosen = i;
    }
    if (!chosen)
        return false;
    // The goal stopped play: the player leaves even when a delayed penalty takes his clock.
    if (const std::optional<PlayerReturn> done = endFrontPart(against, *chosen))
        returns_.push_back(*done);
    fillClocks(against);
    return true;
}

void PenaltyState::advance(int tenths) {
    while (tenths > 0) {
        int step = tenths;
        for (const Bench& side : benches_) {
            for (const TimePenalty& penalty : side.box)
                if (penalty.slot >= 0)
                    step = std::min(step, penalty.parts.front().tenthsLeft);
            for (const OffClockPenalty& off : side.offClock)
                for (int left : {off.afterTenths, off.tenthsLeft})
                    if (left > 0)
                        step = std::min(step, left);
        }
        step = std::max(step, 1);
        tenths -= step;
        for (int team = 0; team < 2; ++team) {
            const Team side = static_cast<Team>(team);
            Bench& own = benches_[team];
            // Time off the clocks runs down to zero and waits there for a stoppage; a
            // misconduct runs once the player's coincident and time penalties are over.
            for (OffClockPenalty& off : own.offClock) {
                if (off.afterTenths > 0)
                    off.afterTenths = std::max(0, off.afterTenths - step);
                else if (!off.misconduct || !inBox(side, off.player))
                    off.tenthsLeft = std::max(0, off.tenthsLeft - step);
            }
            const int runningBefore = running(side);
            for (TimePenalty& penalty : own.box)
                if (penalty.slot >= 0)
                    penalty.parts.front().tenthsLeft -= step;
            std::vector<PlayerReturn> ended;
            for (std::size_t i = 0; i < own.box.size();) {
                TimePenalty& penalty = own.box[i];
                if (penalty.slot >= 0 && penalty.parts.front().tenthsLeft <= 0) {
                    const std::size_t before = own.box.size();
                    if (const std::optional<PlayerReturn> done = endFrontPart(side, i))
                        ended.push_back(*done);
                    if (own.box.size() != before)
                        continue;
                }
                ++i;
            }
            fillClocks(side);
            letOut(side, std::move(ended), runningBefore);
        }
    }
}

std::array<std::optional<ClockShown>, 2> PenaltyState::clocks(Team team) const {
    std::array<std::optional<ClockShown>, 2> shown;
    for (const TimePenalty& penalty : bench(team).box)
        if (penalty.slot >= 0)
            shown[penalty.slot] = ClockShown{penalty.player, penalty.tenthsLeft(),
                                             penalty.substitute, servedKind(penalty.parts)};
    return shown;
}

std::vector<ClockShown> PenaltyState::waiting(Team team) const {
    std::vector<ClockShown> shown;
    for (const TimePenalty& penalty : bench(team).box)
        if (penalty.slot < 0)
            shown.push_back({penalty.player, penalty.tenthsLeft(), penalty.substitute,
                             servedKind(penalty.parts)});
    return shown;
}

int PenaltyState::running(Team team) const {
    const auto& box = bench(team).box;
    return static_cast<int>(
        std::count_if(box.begin(), box.end(), [](const TimePenalty& p) { return p.slot >= 0; }));
}

int PenaltyState::skaters(Team team) const {
    const int own = running(team);
    const int theirs = running(opponent(team));
    // Never fewer than three a side: in an overtime of three or four a side, a penalty beyond
    // that gives the other team a skater, up to five (NHL Rule 84).
    const int even = period_ > kRegulationPeriods ? std::clamp(rules_.overtimeSkaters, 3, 5) : 5;
    const int fewer = std::max(3, even - std::max(own, theirs));
    return own >= theirs ? fewer : std::min(5, fewer + theirs - own);
}

bool PenaltyState::shortHanded(Team team) const {
    return skaters(team) < skaters(opponent(team));
}

std::vector<OffClockPenalty> PenaltyState::misconducts(Team team) const {
    std::vector<OffClockPenalty> found;
    for (OffClockPenalty off : bench(team).offClock) {
        if (!off.misconduct)
            continue;
        off.tenthsLeft += std::max(off.afterTenths, boxTenths(team, off.player));
        found.push_back(off);
    }
    return found;
}

std::vector<OffClockPenalty> PenaltyState::coincident(Team team) const {
    std::vector<OffClockPenalty> found;
    for (const OffClockPenalty& off : bench(team).offClock)
        if (!off.misconduct)
            found.push_back(off);
    return found;
}

std::vector<int> PenaltyState::ejected(Team team) const {
    return bench(team).ejected;
}

bool PenaltyState::operator==(const PenaltyState& other) const {
    return rules_.book == other.rules_.book && rules_.minorTenths == other.rules_.minorTenths &&
           rules_.majorTenths == other.rules_.majorTenths &&
           rules_.misconductTenths == other.rules_.misconductTenths &&
           rules_.overtimeSkaters == other.rules_.overtimeSkaters && benches_ == other.benches_ &&
           returns_ == other.returns_ && period_ == other.period_;
}

PenaltyState replay(const PenaltyRules& rules, const std::vector<PenaltyEvent>& events) {
    PenaltyState state(rules);
    for (const PenaltyEvent& event : events)
        state.apply(event);
    return state;
}

} // namespace penalties
