#include "journal/UndoHistory.h"

#include "game/ScoreBoardLogic.h"

#include <QSet>

namespace {

// What an operator's key can change and undo can put back. Lamps, colons and running flags
// follow from these when the board redraws.
bool undoable(const QString& name) {
    static const QSet<QString> kNames = [] {
        QSet<QString> n{QStringLiteral("clock"),       QStringLiteral("clockTenths"),
                        QStringLiteral("resetTenths"), QStringLiteral("period"),
                        QStringLiteral("home"),        QStringLiteral("visitor"),
                        QStringLiteral("shotsHome"),   QStringLiteral("shotsVisitor"),
                        QStringLiteral("assistant")};
        for (int slot = 1; slot <= 4; ++slot)
            for (const char* part : {"player", "time", "tenths"})
                n.insert(QStringLiteral("p%1.%2").arg(slot).arg(QLatin1String(part)));
        return n;
    }();
    return kNames.contains(name);
}

} // namespace

void UndoHistory::record(const boardrecord::Change& change) {
    boardrecord::Change kept;
    for (auto it = change.after.begin(); it != change.after.end(); ++it) {
        if (undoable(it.key())) {
            kept.after.insert(it.key(), it.value());
            kept.before.insert(it.key(), change.before.value(it.key()));
        }
    }
    if (kept.isEmpty())
        return;
    entries_.resize(cursor_);
    entries_.push_back(kept);
    ++cursor_;
}

std::optional<QJsonObject> UndoHistory::undo() {
    if (!canUndo())
        return std::nullopt;
    return entries_[--cursor_].before;
}

std::optional<QJsonObject> UndoHistory::redo() {
    if (!canRedo())
        return std::nullopt;
    return entries_[cursor_++].after;
}

void UndoHistory::clear() {
    entries_.clear();
    cursor_ = 0;
}

bool UndoHistory::touchesClock(const QJsonObject& values) {
    return values.contains(QStringLiteral("clock")) ||
           values.contains(QStringLiteral("clockTenths")) ||
           values.contains(QStringLiteral("resetTenths"));
}

void putBackValues(ScoreBoardLogic& logic, const QJsonObject& values) {
    const BoardState target = boardrecord::fromRecord(values, logic.state());
    logic.restore(target, UndoHistory::touchesClock(values));
}
