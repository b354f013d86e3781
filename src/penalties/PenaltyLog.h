#pragma once

#include "penalties/PenaltyState.h"

#include <vector>

// The events of a game with the state before each, so any event can be undone exactly and
// redone. The events alone rebuild the same state (replay); the snapshots are the fast path.
namespace penalties {

class PenaltyLog {
  public:
    explicit PenaltyLog(PenaltyRules rules = {});

    // Applies and keeps the event; a refused event is not kept. Clears what was undone.
    bool record(const PenaltyEvent& event);
    bool undo();
    bool redo();

    const PenaltyState& state() const { return states_.back(); }
    const std::vector<PenaltyEvent>& events() const { return events_; }

  private:
    std::vector<PenaltyEvent> events_;
    std::vector<PenaltyState> states_; // states_[i] is the state before events_[i]
    std::vector<PenaltyEvent> undone_;
};

} // namespace penalties
