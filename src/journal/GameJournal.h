#pragma once

#include "game/BoardState.h"
#include "journal/JournalStore.h"
#include "journal/UndoHistory.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

class TimeSource;

// The board's state as rows, one per event that changed it, next to the operator's undo
// history. Every event is written before the next one is handled. The journal never holds
// the board up: when the store cannot be opened or written, events wait in memory (in
// order) and the journal tries again every few seconds, telling the operator once through
// onMessage when it starts and stops failing.
class GameJournal {
  public:
    using WallClock = std::function<std::int64_t()>;
    GameJournal(JournalStore& store, const TimeSource& mono, WallClock wall = {});
    ~GameJournal();

    // At the board's load. When the last game in the journal has no clean end, it is continued
    // and its last state answered, for the board to show again; otherwise a new game starts
    // with `loaded`. With `takeUpClosed` the latest game in which anything happened is
    // continued even when it was closed; games begun after it and left untouched are ended.
    std::optional<BoardState> begin(const BoardState& loaded, bool takeUpClosed = false);
    // After every event the board handled: writes what changed since the last call, if
    // anything. Operator changes (kind Key) enter the undo history.
    void record(const BoardState& now, const QString& kind);
    // A clean end: the next start begins a new game.
    void end();
    // Ends the game cleanly and begins a new one with `fresh`; the undo history starts empty.
    void startNewGame(const BoardState& fresh);
    // When the continued game was last written (wall clock, ms), 0 when begin() started anew.
    std::int64_t resumedWallMs() const { return resumedWallMs_; }

    UndoHistory& history() { return history_; }
    const BoardState& last() const { return last_; }
    int game() const { return game_; }
    // Events not yet in the store.
    std::size_t pending() const { return queue_.size(); }
    // The current trouble, empty while the journal writes.
    const QString& problem() const { return problem_; }
    // Told each message for the operator: a failure, a recovery, a damaged file set aside.
    std::function<void(const QString&)> onMessage;

    static constexpr std::int64_t kRetryMs = 3000;
    static constexpr std::size_t kMaxPending = 1'000'000;

  private:
    struct Op {
        enum Type { Begin, Row, End } type;
        JournalRow row;
    };
    const GameSummary* gameToContinue(const std::vector<GameSummary>& games, bool takeUpClosed);
    void beginFresh(const BoardState& loaded);
    void push(Op op);
    void flush();
    bool tryOpen();
    void say(const QString& text);
    std::int64_t wallNow() const;

    JournalStore& store_;
    const TimeSource& mono_;
    WallClock wall_;
    UndoHistory history_;
    BoardState last_;
    int game_ = -1;
    bool ended_ = false;
    std::int64_t resumedWallMs_ = 0;
    std::deque<Op> queue_;
    std::optional<std::int64_t> lastAttemptMs_;
    QString problem_;
};

// The board state a game's rows end at.
BoardState replayRows(const std::vector<JournalRow>& rows);
