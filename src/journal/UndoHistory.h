#pragma once

#include "journal/BoardRecord.h"

#include <QJsonObject>
#include <optional>
#include <vector>

class ScoreBoardLogic;

// The operator's changes to the fields, the penalties and the clock's set value, in order,
// with a cursor: undo steps back over one change and answers the values to put back, redo
// steps forward again. A new change after an undo drops the changes undone. The running
// clock's own time and its start and stop are not changes here: time that ran stays run.
class UndoHistory {
  public:
    // Keeps the part of an operator's change that can be undone; ignores the rest.
    void record(const boardrecord::Change& change);
    // The values to put back, or nothing at the start of the game.
    std::optional<QJsonObject> undo();
    // The values to put forward again, or nothing when nothing was undone.
    std::optional<QJsonObject> redo();

    bool canUndo() const { return cursor_ > 0; }
    bool canRedo() const { return cursor_ < entries_.size(); }
    void clear();

    // Whether the values touch the game clock (its shown value or the reset value).
    static bool touchesClock(const QJsonObject& values);

  private:
    std::vector<boardrecord::Change> entries_;
    std::size_t cursor_ = 0;
};

// Puts undone or redone values back on the board; the game clock is set (and stopped) only
// when the values are about it.
void putBackValues(ScoreBoardLogic& logic, const QJsonObject& values);
