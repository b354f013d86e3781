#include "penalties/PenaltyEvent.h"

#include <utility>

namespace penalties {

PenaltyEvent PenaltyEvent::assess(std::vector<Assessment> given) {
    PenaltyEvent event;
    event.type = Type::Assess;
    event.penalties = std::move(given);
    return event;
}

PenaltyEvent PenaltyEvent::goal(Team scorer, bool penaltyShot, std::vector<Assessment> signalled,
                                int firstToReturn) {
    PenaltyEvent event;
    event.type = Type::Goal;
    event.scorer = scorer;
    event.penaltyShot = penaltyShot;
    event.penalties = std::move(signalled);
    event.firstToReturn = firstToReturn;
    return event;
}

PenaltyEvent PenaltyEvent::advance(int tenths) {
    PenaltyEvent event;
    event.type = Type::Advance;
    event.tenths = tenths;
    return event;
}

PenaltyEvent PenaltyEvent::periodEnd() {
    PenaltyEvent event;
    event.type = Type::PeriodEnd;
    return event;
}

PenaltyEvent PenaltyEvent::stoppage() {
    PenaltyEvent event;
    event.type = Type::Stoppage;
    return event;
}

} // namespace penalties
