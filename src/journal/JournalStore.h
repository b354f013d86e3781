#pragma once

#include <QJsonObject>
#include <QString>
#include <cstdint>
#include <vector>

// One event of a game: when it happened (the monotonic clock for order and spacing, the wall
// clock for people), what kind of event it was, and the names it changed with their values
// before and after. The first row of a game carries the whole board in `after`.
struct JournalRow {
    std::int64_t monoMs = 0;
    std::int64_t wallMs = 0;
    QString kind; // see JournalKind
    QJsonObject before;
    QJsonObject after;
};

namespace JournalKind {
inline const QString Start = QStringLiteral("start");     // the board as the game began
inline const QString Key = QStringLiteral("key");         // a key or a click of the operator
inline const QString Clock = QStringLiteral("clock");     // the running clock's tick
inline const QString Undo = QStringLiteral("undo");       // Ctrl+Z
inline const QString Redo = QStringLiteral("redo");       // Ctrl+Y
inline const QString Restore = QStringLiteral("restore"); // the board came back after a crash
} // namespace JournalKind

// A game in the journal: its number, when it began and, if it was closed normally, ended.
struct GameSummary {
    int id = 0;
    std::int64_t startedWallMs = 0;
    std::int64_t endedWallMs = 0; // 0 while the game has no clean end
    int events = 0;
};

// Where the journal keeps its games. Each call either does what it says and answers true (or
// a valid value), or fails without throwing and says why in lastError(); the caller decides
// what to try again.
class JournalStore {
  public:
    virtual ~JournalStore() = default;

    virtual bool open() = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;
    virtual QString lastError() const = 0;
    // A message for the operator once, after the store had to set a damaged file aside.
    virtual QString takeNotice() = 0;

    // A new game; its number, or -1.
    virtual int beginGame(std::int64_t wallMs) = 0;
    virtual bool append(int game, const JournalRow& row) = 0;
    virtual bool endGame(int game, std::int64_t wallMs) = 0;
    // Takes back a game's clean end: the game is continued as if it had never been closed.
    virtual bool reopenGame(int game) = 0;

    virtual std::vector<GameSummary> games() = 0;
    virtual std::vector<JournalRow> rows(int game) = 0;
};
