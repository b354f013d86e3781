#pragma once

#include "game/BoardState.h"
#include "game/BoardStateKeeper.h"
#include "penalties/PenaltyAssistant.h"
#include "penalties/PenaltyEntry.h"

#include <QString>
#include <array>
#include <functional>
#include <string>

class ScoreBoardLogic;
class BoardView;

// The penalty assistant at work on the board. The board tells it every key before handling
// it and every change after; it reads from the board what the assistant needs (game time
// run by the game clock, a score raised by one as a goal, a lowered score as that team's
// latest goal taken back, a raised period as a period end), takes the keys of a penalty
// entry, and draws the four penalty slots as the assistant says.
//
// The game clock set while it stands is a correction of the game time (a late or early stop)
// once the clock has run in the period: set back, the assistant gives the time back, never from
// before the last event it was told (it says so when it could give back less); set on, the time
// runs on. The clock set for a new period is none: set after the period was changed, after it
// ran out to zero, after R, or before it first ran; until it runs again, no setting is one.
//
// A penalty slot typed by hand is drawn again as the assistant says, but a time typed over a
// penalty's is taken as a correction of when it was given, where that makes the slot show the
// typed time; anything else typed in a slot (Delete, a number) is not, and the timekeeper is
// told why.
namespace penalties {

class AssistedBoard final : public BoardStateKeeper {
  public:
    AssistedBoard(ScoreBoardLogic& logic, BoardView& view, PenaltyRules rules);
    ~AssistedBoard() override;
    AssistedBoard(const AssistedBoard&) = delete;
    AssistedBoard& operator=(const AssistedBoard&) = delete;

    // The assistant's game in the board's state, for the journal: undo, redo and a restored
    // game put it back whole.
    void saveTo(BoardState& state) const override;
    void loadFrom(const BoardState& state) override;

    void setRules(const PenaltyRules& rules) { assistant_.setRules(rules); }

    // Where the assistant tells the timekeeper something at once (a correction it could not
    // take as asked).
    void setNotices(std::function<void(const std::string&)> tell) { tell_ = std::move(tell); }

    // Before the board handles a key: the game time run up to now, and the board as it is.
    // `boardFunction`: the key is one of the board's functions (start/stop, R, horn, ...).
    void catchUp(bool boardFunction = false);
    // A key for the penalty entry; true when the entry took it and the board must not.
    bool takeKey(int keyCode, bool ctrl);
    // After the board handled a key, a click or a tick: reads goals and period ends off the
    // board and draws the penalty slots.
    void settle();

    // The timekeeper corrects or takes out an earlier event (PenaltyAssistant::correct() and
    // remove()), with the game time run up to now; the slots are drawn again. False when
    // refused. The window tells the board's watchers afterwards, as after a key, so the
    // journal keeps the corrected game and the board's undo takes the correction back.
    bool correct(std::size_t index, const ToldEvent& corrected);
    bool remove(std::size_t index);

    // Tenths of the time source until the slots or the operator's line change by the running
    // game clock alone, as of the last settle(): one tenth of game time runs in each; `limit`
    // while the clock stands. The board's timer sleeps until then.
    int tenthsToNextChange(int limit) const;

    // For the operator: strength, waiting penalties, misconducts and the entry being typed.
    std::string operatorLine() const;

    PenaltyAssistant& assistant() { return assistant_; }
    const PenaltyAssistant& assistant() const { return assistant_; }
    const PenaltyEntry& entry() const { return entry_; }
    // Drops a penalty being typed; false when none was.
    bool dropEntry();

  private:
    long long gameTenths();
    bool clockRuns();
    void runTime();
    void correctClock(long long runOn);
    void followScore(Team team, int before, int now);
    void followTypedSlots();
    bool retime(std::size_t slot, long long tenthsLeft);
    void tell(const std::string& text) const;
    void readBoard();
    void draw();

    ScoreBoardLogic& logic_;
    BoardView& view_;
    PenaltyAssistant assistant_;
    PenaltyEntry entry_;
    long long lastTenths_ = 0;
    bool clockRan_ = false;
    bool boardFunction_ = false; // the key being handled is one of the board's functions
    bool periodRuns_ = false;    // the clock has run since it was last set for a new period
    long long stoppage_ = 0;     // the assistant's game time when the clock last stood
    std::function<void(const std::string&)> tell_;
    bool keyPending_ = false; // between catchUp() and settle(): a key is being handled
    std::array<::PenaltyState, 4> slotsBefore_{}; // the slots as the key found them
    int lastHome_ = -1;
    int lastVisitor_ = -1;
    int lastPeriod_ = -1;
    mutable std::string savedText_;
    mutable QString savedQText_;
};

} // namespace penalties
