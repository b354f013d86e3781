#pragma once

#include "game/BoardStateKeeper.h"
#include "penalties/PenaltyAssistant.h"
#include "penalties/PenaltyEntry.h"

#include <QString>
#include <string>

class ScoreBoardLogic;
class BoardView;

// The penalty assistant at work on the board. The board tells it every key before handling
// it and every change after; it reads from the board what the assistant needs (game time
// run by the game clock, a score raised by one as a goal, a raised period as a period end),
// takes the keys of a penalty entry, and draws the four penalty slots as the assistant says.
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

    // Before the board handles a key: the game time run up to now, and the board as it is.
    void catchUp();
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

  private:
    long long gameTenths();
    void runTime();
    void readBoard();
    void draw();

    ScoreBoardLogic& logic_;
    BoardView& view_;
    PenaltyAssistant assistant_;
    PenaltyEntry entry_;
    long long lastTenths_ = 0;
    bool clockRan_ = false;
    int lastHome_ = -1;
    int lastVisitor_ = -1;
    int lastPeriod_ = -1;
    mutable std::string savedText_;
    mutable QString savedQText_;
};

} // namespace penalties
