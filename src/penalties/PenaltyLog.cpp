#include "penalties/PenaltyLog.h"

namespace penalties {

PenaltyLog::PenaltyLog(PenaltyRules rules) {
    states_.emplace_back(rules);
}

bool PenaltyLog::record(const PenaltyEvent& event) {
    PenaltyState next = states_.back();
    if (!next.apply(event))
        return false;
    events_.push_back(event);
    states_.push_back(std::move(next));
    undone_.clear();
    return true;
}

bool PenaltyLog::undo() {
    if (events_.empty())
        return false;
    undone_.push_back(events_.back());
    events_.pop_back();
    states_.pop_back();
    return true;
}

bool PenaltyLog::redo() {
    if (undone_.empty())
        return false;
    const PenaltyEvent event = undone_.back();
    undone_.pop_back();
    PenaltyState next = states_.back();
    next.apply(event);
    events_.push_back(event);
    states_.push_back(std::move(next));
    return true;
}

} // namespace penalties
