#pragma once

#include "penalties/PenaltyEvent.h"
#include "penalties/PenaltyState.h"

#include <random>
#include <vector>

// Random game events for the penalty engine, the same for a seed: running time, penalties of
// every kind at one stoppage, goals (some on penalty shots, some with signalled penalties),
// period ends, plain stoppages, and now and then nonsense the engine must refuse.
namespace penalties {

class EventSource {
  public:
    explicit EventSource(unsigned seed) : random_(seed) {}

    PenaltyEvent next() {
        const int roll = pick(0, 99);
        if (roll < 35)
            return PenaltyEvent::advance(pick(0, 1500));
        if (roll < 65) {
            std::vector<Assessment> given;
            const int count = pick(1, 4);
            for (int i = 0; i < count; ++i)
                given.push_back(assessment(team()));
            return PenaltyEvent::assess(given);
        }
        if (roll < 92) {
            const Team scorer = team();
            std::vector<Assessment> signalled;
            if (pick(0, 3) == 0)
                signalled.push_back(assessment(opponent(scorer)));
            return PenaltyEvent::goal(scorer, pick(0, 9) == 0, signalled, pick(-1, 12));
        }
        if (roll < 94)
            return PenaltyEvent::periodEnd();
        if (roll < 96)
            return PenaltyEvent::stoppage();
        // Nonsense the engine must refuse.
        if (roll < 98)
            return PenaltyEvent::advance(-pick(1, 100));
        return PenaltyEvent::assess({{team(), pick(0, 12), static_cast<PenaltyKind>(pick(8, 40))}});
    }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  private:
    Team team() { return pick(0, 1) ? Team::Guest : Team::Home; }
    Assessment assessment(Team side) {
        // Few players, so the same one is often penalised again while seated.
        return {side, pick(1, 12), static_cast<PenaltyKind>(pick(0, 7)),
                pick(0, 5) == 0 ? pick(13, 20) : -1};
    }

    std::mt19937 random_;
};

} // namespace penalties
