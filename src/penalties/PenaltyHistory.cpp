#include "penalties/PenaltyHistory.h"

#include "penalties/PenaltyAssistant.h"

#include <algorithm>
#include <array>

namespace penalties {

namespace {

using End = PenaltyRecord::End;

constexpr std::size_t kNobody = static_cast<std::size_t>(-1);

// The clock parts a kind brings before any cancel as coincident.
std::size_t nominalParts(PenaltyKind kind) {
    switch (kind) {
    case PenaltyKind::DoubleMinor:
    case PenaltyKind::MajorPlusMinor:
        return 2;
    case PenaltyKind::Misconduct:
    case PenaltyKind::GameMisconduct:
        return 0;
    default:
        return 1;
    }
}

bool hasMisconduct(PenaltyKind kind) {
    return kind == PenaltyKind::MinorPlusMisconduct || kind == PenaltyKind::Misconduct;
}

bool samePenalty(const TimePenalty& a, const TimePenalty& b) {
    return a.player == b.player && a.substitute == b.substitute &&
           a.coincidentPair == b.coincidentPair;
}

// The game time until the next penalty time on or off the clocks runs out.
int nextExpiry(const PenaltyState& state, int limit) {
    for (Team team : {Team::Home, Team::Guest}) {
        for (const TimePenalty& penalty : state.timePenalties(team))
            if (penalty.slot >= 0)
                limit = std::min(limit, penalty.parts.front().tenthsLeft);
        for (const OffClockPenalty& off : state.offClock(team))
            for (int left : {off.afterTenths, off.tenthsLeft})
                if (left > 0)
                    limit = std::min(limit, left);
    }
    return std::max(limit, 1);
}

// Follows the engine's bench from state to state and tells which assessed penalty each
// piece of it belongs to. The engine holds no names for penalties; a piece is recognised by
// its player and flags, as the engine only appends, shortens and removes them.
class Watcher {
  public:
    std::vector<PenaltyRecord> records;

    void assessed(const std::vector<Assessment>& given, long long now) {
        for (const Assessment& a : given) {
            fresh_.push_back(records.size());
            records.push_back({a.team, a.player, a.kind, now, {}, {}, End::Waiting});
            info_.push_back({a.servedBy});
        }
    }
    void settled() { fresh_.clear(); }

    void follow(const PenaltyState& before, const PenaltyState& after, long long now, End reason) {
        for (Team team : {Team::Home, Team::Guest}) {
            followBox(team, before.timePenalties(team), after.timePenalties(team), now, reason);
            followOff(team, before.offClock(team), after.offClock(team), now, reason);
        }
    }

    std::vector<PenaltyRecord> finished() {
        for (std::size_t r = 0; r < records.size(); ++r) {
            PenaltyRecord& record = records[r];
            if (info_[r].pieces == 0)
                record.end = End::OffClocks;
            else if (info_[r].open > 0)
                record.end = record.started ? End::Running : End::Waiting;
        }
        return records;
    }

  private:
    struct Owner {
        std::size_t record;
        std::size_t parts;
    };
    struct Info {
        int servedBy = -1;
        int pieces = 0; // pieces claimed
        int open = 0;   // pieces not yet ended
        bool onBox = false;
        bool offMisconduct = false;
        bool offCoincident = false;
    };

    void start(std::size_t record, long long now) {
        if (!records[record].started)
            records[record].started = now;
    }
    void end(std::size_t record, long long now, End reason) {
        if (--info_[record].open == 0) {
            records[record].ended = now;
            records[record].end = reason;
        }
    }
    void claimed(std::size_t record) {
        ++info_[record].pieces;
        ++info_[record].open;
    }

    // Owners for `parts` new clock parts of `player`'s penalty: the stoppage's penalties of
    // that player (or sat by him) in the order given.
    std::vector<Owner> claim(Team team, int player, std::size_t parts) {
        std::vector<Owner> owners;
        for (std::size_t r : fresh_) {
            const PenaltyRecord& record = records[r];
            Info& info = info_[r];
            const std::size_t nominal = nominalParts(record.kind);
            if (parts == 0 || record.team != team || info.onBox || nominal == 0 ||
                (record.player != player && info.servedBy != player))
                continue;
            info.onBox = true;
            claimed(r);
            owners.push_back({r, std::min(nominal, parts)});
            parts -= owners.back().parts;
        }
        if (!owners.empty())
            owners.back().parts += parts;
        return owners;
    }

    void followBox(Team team, const std::vector<TimePenalty>& was,
                   const std::vector<TimePenalty>& is, long long now, End reason) {
        auto& owners = box_[static_cast<int>(team)];
        owners.resize(was.size());
        std::vector<std::vector<Owner>> next;
        std::size_t j = 0;
        for (std::size_t i = 0; i < was.size(); ++i) {
            if (j >= is.size() || !samePenalty(was[i], is[j])) {
                for (const Owner& o : owners[i])
                    end(o.record, now, reason);
                continue;
            }
            std::vector<Owner> own = owners[i];
            std::size_t lost = was[i].parts.size() > is[j].parts.size()
                                   ? was[i].parts.size() - is[j].parts.size()
                                   : 0;
            while (lost > 0 && !own.empty()) {
                const std::size_t take = std::min(lost, own.front().parts);
                own.front().parts -= take;
                lost -= take;
                if (own.front().parts == 0) {
                    end(own.front().record, now, reason);
                    own.erase(own.begin());
                }
            }
            if (is[j].parts.size() > was[i].parts.size()) {
                // A player already in the box sits his new penalty after the one he serves.
                const auto more =
                    claim(team, is[j].player, is[j].parts.size() - was[i].parts.size());
                own.insert(own.end(), more.begin(), more.end());
            }
            next.push_back(std::move(own));
            ++j;
        }
        for (; j < is.size(); ++j)
            next.push_back(claim(team, is[j].player, is[j].parts.size()));
        for (std::size_t k = 0; k < is.size(); ++k)
            if (is[k].slot >= 0 && !next[k].empty())
                start(next[k].front().record, now);
        owners = std::move(next);
    }

    void followOff(Team team, const std::vector<OffClockPenalty>& was,
                   const std::vector<OffClockPenalty>& is, long long now, End reason) {
        auto& owners = off_[static_cast<int>(team)];
        owners.resize(was.size(), kNobody);
        std::vector<std::size_t> next;
        std::size_t j = 0;
        for (std::size_t i = 0; i < was.size(); ++i) {
            if (j < is.size() && is[j].player == was[i].player &&
                is[j].misconduct == was[i].misconduct) {
                // Time up, the player waits for a stoppage: the penalty itself has expired.
                if (is[j].tenthsLeft <= 0 && was[i].tenthsLeft > 0 && owners[i] != kNobody) {
                    end(owners[i], now, End::Expired);
                    owners[i] = kNobody;
                }
                next.push_back(owners[i]);
                ++j;
            } else if (owners[i] != kNobody) {
                end(owners[i], now, reason);
            }
        }
        for (; j < is.size(); ++j) {
            std::size_t owner = kNobody;
            for (std::size_t r : fresh_) {
                Info& info = info_[r];
                bool& taken = is[j].misconduct ? info.offMisconduct : info.offCoincident;
                if (records[r].team != team || records[r].player != is[j].player || taken ||
                    (is[j].misconduct && !hasMisconduct(records[r].kind)))
                    continue;
                taken = true;
                claimed(r);
                start(r, now); // time off the clocks runs from the stoppage
                owner = r;
                break;
            }
            next.push_back(owner);
        }
        owners = std::move(next);
    }

    std::vector<std::size_t> fresh_; // the penalties of the stoppage being assessed
    std::vector<Info> info_;
    std::array<std::vector<std::vector<Owner>>, 2> box_;
    std::array<std::vector<std::size_t>, 2> off_;
};

} // namespace

std::vector<PenaltyRecord> penaltyHistory(const PenaltyRules& rules, const std::string& text,
                                          long long elapsed) {
    PenaltyAssistant assistant(rules);
    if (!assistant.load(text, elapsed))
        return {};
    Watcher watcher;
    PenaltyState state(rules);
    long long now = 0;
    for (const PenaltyEvent& event : assistant.events()) {
        if (event.type == PenaltyEvent::Type::Advance) {
            // Step from expiry to expiry, so each end and start is seen at its instant.
            for (int left = event.tenths; left > 0;) {
                const int step = nextExpiry(state, left);
                PenaltyState next = state;
                next.apply(PenaltyEvent::advance(step));
                now += step;
                left -= step;
                watcher.follow(state, next, now, End::Expired);
                state = std::move(next);
            }
            continue;
        }
        PenaltyState next = state;
        if (!next.apply(event))
            continue;
        if (event.type == PenaltyEvent::Type::Assess)
            watcher.assessed(event.penalties, now);
        watcher.follow(state, next, now, End::Goal);
        watcher.settled();
        state = std::move(next);
    }
    return watcher.finished();
}

} // namespace penalties
