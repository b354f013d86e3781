#include "penalties/PenaltyState.h"

#include <algorithm>

namespace penalties {

namespace {

bool validTeam(Team team) {
    const int value = static_cast<int>(team);
    return value == 0 || value == 1;
}

bool sendsOff(PenaltyKind kind) {
    return kind == PenaltyKind::MinorPlusMisconduct || kind == PenaltyKind::Misconduct ||
           kind == PenaltyKind::GameMisconduct || kind == PenaltyKind::Match;
}

bool hasMisconduct(PenaltyKind kind) {
    return kind == PenaltyKind::MinorPlusMisconduct || kind == PenaltyKind::Misconduct;
}

bool ejects(PenaltyKind kind) {
    return kind == PenaltyKind::GameMisconduct || kind == PenaltyKind::Match;
}

std::vector<PenaltyPart> partsOf(PenaltyKind kind, const PenaltyRules& rules) {
    const PenaltyPart minor{rules.minorTenths, true};
    const PenaltyPart major{rules.majorTenths, false};
    switch (kind) {
    case PenaltyKind::Minor:
    case PenaltyKind::MinorPlusMisconduct:
        return {minor};
    case PenaltyKind::DoubleMinor:
        return {minor, minor};
    case PenaltyKind::Major:
    case PenaltyKind::Match: // IIHF Rule 21 / USA Hockey Rule 405(a): five minutes by a substitute
        return {major};
    case PenaltyKind::MajorPlusMinor:
        // USA Hockey Rule 402(e), IIHF Rule 16: the major is served first.
        return {major, minor};
    case PenaltyKind::Misconduct:
    case PenaltyKind::GameMisconduct:
        return {};
    }
    return {};
}

int total(const std::vector<PenaltyPart>& parts) {
    int sum = 0;
    for (const PenaltyPart& part : parts)
        sum += part.tenthsLeft;
    return sum;
}

// What is left of a penalty signalled against a team that was not short-handed when the other
// team scored: the goal takes the place of one minor (IIHF case book, delayed penalties,
// situation 2; USA Hockey Rule 409). No rule book text was found for a signalled double minor;
// one of its minors is taken, as for a single minor.
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

int TimePenalty::tenthsLeft() const {
    return total(parts);
}

bool operator==(const PenaltyPart& a, const PenaltyPart& b) {
    return a.tenthsLeft == b.tenthsLeft && a.minor == b.minor;
}

bool operator==(const TimePenalty& a, const TimePenalty& b) {
    return a.player == b.player && a.substitute == b.substitute &&
           a.coincidentPair == b.coincidentPair && a.slot == b.slot && a.parts == b.parts;
}

bool operator==(const OffClockPenalty& a, const OffClockPenalty& b) {
    return a.player == b.player && a.tenthsLeft == b.tenthsLeft && a.misconduct == b.misconduct;
}

bool operator==(const PlayerReturn& a, const PlayerReturn& b) {
    return a.team == b.team && a.player == b.player && a.substitute == b.substitute;
}

bool PenaltyState::Bench::operator==(const Bench& other) const {
    return box == other.box && offClock == other.offClock && ejected == other.ejected;
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
        const bool wasShort = shortHanded(against);
        goal(event.scorer, event.penaltyShot, event.firstToReturn);
        // USA Hockey Rule 409(b), IIHF case book situation 1: a team already short by minors
        // gets its signalled penalties in full after the goal ended its first minor.
        std::vector<Assessment> signalled;
        for (Assessment given : event.penalties) {
            if (!wasShort) {
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
        ++period_;
        return true;
    }
    return false;
}

void PenaltyState::assess(const std::vector<Assessment>& given) {
    struct Entry {
        Assessment given;
        std::vector<PenaltyPart> parts;
        bool substitute = false;
        int cancelled = 0;
    };
    std::vector<Entry> entries;
    for (const Assessment& one : given) {
        Entry entry{one, partsOf(one.kind, rules_)};
        // A player sent off for ten minutes or the game cannot sit his time penalties; a
        // substitute does (IIHF Rule 22, USA Hockey Rule 404, NHL Rule 19.1).
        entry.substitute = std::any_of(given.begin(), given.end(), [&](const Assessment& other) {
            return other.team == one.team && other.player == one.player && sendsOff(other.kind);
        });
        entries.push_back(entry);
    }

    std::array<int, 2> minors{};
    std::array<int, 2> majors{};
    for (const Entry& entry : entries)
        for (const PenaltyPart& part : entry.parts)
            ++(part.minor ? minors : majors)[static_cast<int>(entry.given.team)];

    const bool fourOnFour = playsSinglePairFourOnFour(rules_.book) && minors[0] == 1 &&
                            minors[1] == 1 && majors[0] == 0 && majors[1] == 0 &&
                            benches_[0].box.empty() && benches_[1].box.empty();
    std::vector<int> playerTime(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        for (const Entry& other : entries)
            if (other.given.team == entries[i].given.team &&
                other.given.player == entries[i].given.player)
                playerTime[i] += total(other.parts);

    if (!fourOnFour) {
        // Equal numbers of majors and of minors to both teams at one stoppage are served with
        // substitutes and stay off the clocks; the difference goes on (NHL Rule 19.1/19.2,
        // USA Hockey Rule 402(f)/403(c), Hockey Canada Rule 4.2(d), IIHF case book). Which of a
        // team's penalties cancel is the captain's choice; by default the first given.
        for (int team = 0; team < 2; ++team) {
            int minorsLeft = std::min(minors[0], minors[1]);
            int majorsLeft = std::min(majors[0], majors[1]);
            for (Entry& entry : entries) {
                if (static_cast<int>(entry.given.team) != team)
                    continue;
                auto& parts = entry.parts;
                for (auto part = parts.begin(); part != parts.end();) {
                    int& left = part->minor ? minorsLeft : majorsLeft;
                    if (left > 0) {
                        --left;
                        entry.cancelled += part->tenthsLeft;
                        part = parts.erase(part);
                    } else {
                        ++part;
                    }
                }
            }
        }
    }

    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& entry = entries[i];
        Bench& own = bench(entry.given.team);
        if (hasMisconduct(entry.given.kind))
            // The player sits his time penalties and then the ten minutes (NHL Rule 19.1).
            own.offClock.push_back(
                {entry.given.player, rules_.misconductTenths + playerTime[i], true});
        if (ejects(entry.given.kind) && std::find(own.ejected.begin(), own.ejected.end(),
                                                  entry.given.player) == own.ejected.end())
            own.ejected.push_back(entry.given.player);
        // A player whose penalty was only partly cancelled sits all of it; the difference on
        // the clock tells when his team gets a skater back (NHL Rule 19.1).
        const bool split = entry.cancelled > 0 && !entry.parts.empty();
        if (entry.cancelled > 0 && !entry.substitute)
            own.offClock.push_back(
                {entry.given.player, entry.cancelled + total(entry.parts), false});
        if (!entry.parts.empty()) {
            TimePenalty penalty;
            penalty.substitute = entry.substitute || split;
            penalty.player = entry.substitute && entry.given.servedBy >= 0 ? entry.given.servedBy
                                                                           : entry.given.player;
            penalty.coincidentPair = fourOnFour;
            penalty.parts = entry.parts;
            queue(entry.given.team, penalty);
        }
    }
    fillClocks(Team::Home);
    fillClocks(Team::Guest);
}

void PenaltyState::queue(Team team, TimePenalty penalty) {
    // A player already in the box sits his new penalty after the one he serves.
    auto& box = bench(team).box;
    if (!penalty.substitute) {
        for (TimePenalty& held : box) {
            if (held.player == penalty.player && !held.substitute &&
                held.coincidentPair == penalty.coincidentPair) {
                held.parts.insert(held.parts.end(), penalty.parts.begin(), penalty.parts.end());
                return;
            }
        }
    }
    box.push_back(penalty);
}

void PenaltyState::fillClocks(Team team) {
    // A waiting penalty starts when a clock frees, in serving order; never more than two run,
    // so a team is never more than two skaters short (IIHF Rule 16/17, NHL Rule 16.2/26.1,
    // USA Hockey Rule 402, Hockey Canada Rule 4.2).
    auto& box = bench(team).box;
    std::array<bool, 2> used{};
    for (const TimePenalty& penalty : box)
        if (penalty.slot >= 0)
            used[penalty.slot] = true;
    for (TimePenalty& penalty : box) {
        if (penalty.slot >= 0)
            continue;
        const int free = !used[0] ? 0 : (!used[1] ? 1 : -1);
        if (free < 0)
            return;
        penalty.slot = free;
        used[free] = true;
    }
}

void PenaltyState::endFrontPart(Team team, std::size_t index) {
    auto& box = bench(team).box;
    TimePenalty& penalty = box[index];
    penalty.parts.erase(penalty.parts.begin());
    if (penalty.parts.empty()) {
        returns_.push_back({team, penalty.player, penalty.substitute});
        box.erase(box.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

void PenaltyState::goal(Team scorer, bool penaltyShot, int firstToReturn) {
    const Team against = opponent(scorer);
    // Only a team outnumbered on the ice loses a minor (IIHF Rule 16 with Table 14, NHL Rule
    // 16.2, USA Hockey Rule 402(c), Hockey Canada Rule 4.2(b)); a goal by the short-handed team
    // ends nothing.
    if (!shortHanded(against))
        return;
    if (penaltyShot && !penaltyShotGoalEndsMinor(rules_.book))
        return;
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
        // Hockey Rule 402(c) casebook); with equal time the captain chooses (IIHF Table 14 C9,
        // USA Hockey Rule 402(d)).
        const int left = penalty.parts.front().tenthsLeft;
        const int best = box[*chosen].parts.front().tenthsLeft;
        if (left < best || (left == best && penalty.player == firstToReturn &&
                            box[*chosen].player != firstToReturn))
            chosen = i;
    }
    if (!chosen)
        return;
    endFrontPart(against, *chosen);
    fillClocks(against);
}

void PenaltyState::advance(int tenths) {
    while (tenths > 0) {
        int step = tenths;
        for (const Bench& side : benches_) {
            for (const TimePenalty& penalty : side.box)
                if (penalty.slot >= 0)
                    step = std::min(step, penalty.parts.front().tenthsLeft);
            for (const OffClockPenalty& off : side.offClock)
                step = std::min(step, off.tenthsLeft);
        }
        step = std::max(step, 1);
        tenths -= step;
        for (int team = 0; team < 2; ++team) {
            const Team side = static_cast<Team>(team);
            Bench& own = benches_[team];
            for (TimePenalty& penalty : own.box)
                if (penalty.slot >= 0)
                    penalty.parts.front().tenthsLeft -= step;
            for (std::size_t i = 0; i < own.box.size();) {
                TimePenalty& penalty = own.box[i];
                if (penalty.slot >= 0 && penalty.parts.front().tenthsLeft <= 0) {
                    const std::size_t before = own.box.size();
                    endFrontPart(side, i);
                    if (own.box.size() != before)
                        continue;
                }
                ++i;
            }
            for (OffClockPenalty& off : own.offClock)
                off.tenthsLeft -= step;
            for (auto off = own.offClock.begin(); off != own.offClock.end();) {
                if (off->tenthsLeft <= 0) {
                    returns_.push_back({side, off->player});
                    off = own.offClock.erase(off);
                } else {
                    ++off;
                }
            }
            fillClocks(side);
        }
    }
}

std::array<std::optional<ClockShown>, 2> PenaltyState::clocks(Team team) const {
    std::array<std::optional<ClockShown>, 2> shown;
    for (const TimePenalty& penalty : bench(team).box)
        if (penalty.slot >= 0)
            shown[penalty.slot] =
                ClockShown{penalty.player, penalty.tenthsLeft(), penalty.substitute};
    return shown;
}

std::vector<ClockShown> PenaltyState::waiting(Team team) const {
    std::vector<ClockShown> shown;
    for (const TimePenalty& penalty : bench(team).box)
        if (penalty.slot < 0)
            shown.push_back({penalty.player, penalty.tenthsLeft(), penalty.substitute});
    return shown;
}

int PenaltyState::skaters(Team team) const {
    int running = 0;
    for (const TimePenalty& penalty : bench(team).box)
        if (penalty.slot >= 0)
            ++running;
    return 5 - running;
}

bool PenaltyState::shortHanded(Team team) const {
    return skaters(team) < skaters(opponent(team));
}

std::vector<OffClockPenalty> PenaltyState::misconducts(Team team) const {
    std::vector<OffClockPenalty> found;
    for (const OffClockPenalty& off : bench(team).offClock)
        if (off.misconduct)
            found.push_back(off);
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
           rules_.misconductTenths == other.rules_.misconductTenths && benches_ == other.benches_ &&
           returns_ == other.returns_ && period_ == other.period_;
}

PenaltyState replay(const PenaltyRules& rules, const std::vector<PenaltyEvent>& events) {
    PenaltyState state(rules);
    for (const PenaltyEvent& event : events)
        state.apply(event);
    return state;
}

} // namespace penalties
