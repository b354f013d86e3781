#pragma once

#include "game/BoardState.h"
#include "game/FieldId.h"

#include <QString>
#include <QStringList>

// What the timekeeper's console says in words, without widgets.

// The field an entry box edits, as the timekeeper calls it: "Game clock", "Home penalty 2,
// time".
QString fieldTitle(EntryBox box);

// What the board's changes mean for the game's record, in the order they happened on the
// board: goals (a score raised), a new period, a penalty put on a slot; each with the period
// and the game clock as the board shows them after the change, for example
// "P2 13:41  Goal home, 2-1". A tick of the clock or a correction downwards tells nothing.
QStringList gameEventsBetween(const BoardState& before, const BoardState& after);
