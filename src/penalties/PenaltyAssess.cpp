#include "penalties/PenaltyState.h"

#include <algorithm>

// Penalties given at one stoppage: what each kind puts on the clocks, which cancel as
// coincident, and who sits them.
namespace penalties {

namespace {

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
    case PenaltyKind::Match: // USA Hockey Rule 405(a): five minutes, sat by a substitute
        return {major};
    case PenaltyKind::MajorPlusMinor:
        // USA Hockey Rule 402(e), IIHF Rule 16 (Table 14 B): the major is served first.
        return {major, minor};
    case PenaltyKind::Misconduct:
    case PenaltyKind::GameMisconduct:
        return {};
    }
    return {};
}

} // namespace

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
        // substitute does (NHL Rule 19.1, USA Hockey Rule 405(a), IIHF 2010 Rule 503).
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
    if (!fourOnFour) {
        // Equal numbers of majors and of minors to both teams at one stoppage are served with
        // substitutes and stay off the clocks; the difference goes on (NHL Rule 19.1,
        // USA Hockey Rule 402(f), Hockey Canada Rule 4.2(d), IIHF case book Rule 112). Which of a
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

    // The player sits his time penalties and then the ten minutes (NHL Rule 19.1, IIHF Rule
    // 35.1, USA Hockey Rule 404(a)): a misconduct waits for his coincident time, and runs
    // only while no penalty of his is in the box, however that penalty ends.
    const auto coincidentTime = [this, &entries](const Assessment& of) {
        int longest = 0;
        // Coincident time he already sits, and that of this stoppage.
        for (const OffClockPenalty& off : bench(of.team).offClock)
            if (off.player == of.player && !off.misconduct)
                longest = std::max(longest, off.tenthsLeft);
        for (const Entry& other : entries)
            if (other.given.team == of.team && other.given.player == of.player &&
                other.cancelled > 0)
                longest = std::max(longest, other.cancelled + tenthsIn(other.parts));
        return longest;
    };
    // A minor and a major to different players of one team at one stoppage: the minor is
    // recorded first and takes a free clock first (NHL Rule 26.3, USA Hockey Rule 408(c)).
    const bool minorFirst = recordsMinorBeforeMajor(rules_.book);
    const auto majorFirst = [&entries, minorFirst](const Entry& entry) {
        if (!minorFirst || entry.parts.empty() || entry.parts.front().minor)
            return false;
        return std::none_of(entries.begin(), entries.end(), [&entry](const Entry& other) {
            return &other != &entry && other.given.team == entry.given.team &&
                   other.given.player == entry.given.player;
        });
    };
    std::vector<std::size_t> order;
    for (bool majors : {false, true})
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (majorFirst(entries[i]) == majors)
                order.push_back(i);

    for (std::size_t i : order) {
        const Entry& entry = entries[i];
        Bench& own = bench(entry.given.team);
        if (hasMisconduct(entry.given.kind))
            own.offClock.push_back(
                {entry.given.player, rules_.misconductTenths, true, coincidentTime(entry.given)});
        if (ejects(entry.given.kind) && std::find(own.ejected.begin(), own.ejected.end(),
                                                  entry.given.player) == own.ejected.end())
            own.ejected.push_back(entry.given.player);
        // A player whose penalty was only partly cancelled sits all of it; the difference on
        // the clock tells when his team gets a skater back (NHL Rule 19.1).
        const bool split = entry.cancelled > 0 && !entry.parts.empty();
        if (entry.cancelled > 0 && !entry.substitute)
            own.offClock.push_back(
                {entry.given.player, entry.cancelled + tenthsIn(entry.parts), false});
        if (!entry.parts.empty()) {
            // A team-mate named by the captain sits the time for a goalkeeper, for a bench
            // penalty (player 0) or for a player sent off; the clock shows who sits it.
            const bool named = entry.given.servedBy >= 0;
            TimePenalty penalty;
            penalty.substitute = entry.substitute || split || named;
            penalty.player = named ? entry.given.servedBy : entry.given.player;
            penalty.offender = entry.given.player;
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

} // namespace penalties
