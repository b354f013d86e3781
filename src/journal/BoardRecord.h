#pragma once

#include "game/BoardState.h"

#include <QJsonObject>
#include <QStringList>

// The board's state as named values, the form in which the journal stores it: "home": 3,
// "clock": "9:57", "p1.player": 17, "p1.time": "2:00", ... Only changed names are written
// per event, so a record applied name by name on top of the state before it gives the state
// after it.
namespace boardrecord {

// Every name of a full record, in a fixed order.
const QStringList& names();

QJsonObject toRecord(const BoardState& s);
// Names missing from the record keep the values of `base`.
BoardState fromRecord(const QJsonObject& record, BoardState base = BoardState());

// The names whose values differ, with their values before and after.
struct Change {
    QJsonObject before;
    QJsonObject after;
    bool isEmpty() const { return after.isEmpty(); }
};
Change changeBetween(const BoardState& before, const BoardState& after);

// `record`'s values written over `base`.
QJsonObject applied(QJsonObject base, const QJsonObject& record);

} // namespace boardrecord
