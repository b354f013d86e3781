#include "journal/GameJournal.h"

#include "game/TimeSource.h"
#include "journal/BoardRecord.h"

#include <QDateTime>
#include <algorithm>

GameJournal::GameJournal(JournalStore& store, const TimeSource& mono, WallClock wall)
    : store_(store), mono_(mono), wall_(std::move(wall)) {}

GameJournal::~GameJournal() = default;

std::int64_t GameJournal::wallNow() const {
    return wall_ ? wall_() : QDateTime::currentMSecsSinceEpoch();
}

// The game a start continues: the last one while it has no clean end, or with `takeUpClosed`
// the latest with more than its start row (a fresh board opened and closed again is passed
// over). Null for a fresh start.
const GameSummary* GameJournal::gameToContinue(const std::vector<GameSummary>& games,
                                               bool takeUpClosed) {
    if (!takeUpClosed)
        return !games.empty() && games.back().endedWallMs == 0 && games.back().events > 0
                   ? &games.back()
                   : nullptr;
    const auto played = std::find_if(games.rbegin(), games.rend(),
                                     [](const GameSummary& g) { return g.events > 1; });
    if (played == games.rend())
        return nullptr;
    for (auto later = games.rbegin(); later != played; ++later)
        if (later->endedWallMs == 0 && !store_.endGame(later->id, wallNow()))
            return nullptr;
    if (played->endedWallMs != 0 && !store_.reopenGame(played->id))
        return nullptr;
    return &*played;
}

std::optional<BoardState> GameJournal::begin(const BoardState& loaded, bool takeUpClosed) {
    if (tryOpen()) {
        const std::vector<GameSummary> games = store_.games();
        if (const GameSummary* game = gameToContinue(games, takeUpClosed)) {
            const std::vector<JournalRow> rows = store_.rows(game->id);
            if (!rows.empty()) {
                game_ = game->id;
                resumedWallMs_ = rows.back().wallMs;
                last_ = replayRows(rows);
                // The undo history comes back as it stood.
                BoardState s;
                for (const JournalRow& row : rows) {
                    const BoardState next = boardrecord::fromRecord(row.after, s);
                    if (row.kind == JournalKind::Key)
                        history_.record(boardrecord::changeBetween(s, next));
                    else if (row.kind == JournalKind::Undo)
                        history_.undo();
                    else if (row.kind == JournalKind::Redo)
                        history_.redo();
                    s = next;
                }
                return last_;
            }
        }
    }
    beginFresh(loaded);
    return std::nullopt;
}

void GameJournal::beginFresh(const BoardState& loaded) {
    last_ = loaded;
    push({Op::Begin, {}});
    push({Op::Row,
          {mono_.nowMs(), wallNow(), JournalKind::Start, {}, boardrecord::toRecord(loaded)}});
    flush();
}

void GameJournal::record(const BoardState& now, const QString& kind) {
    if (ended_)
        return;
    const boardrecord::Change change = boardrecord::changeBetween(last_, now);
    if (change.isEmpty())
        return;
    if (kind == JournalKind::Key)
        history_.record(change);
    last_ = now;
    push({Op::Row, {mono_.nowMs(), wallNow(), kind, change.before, change.after}});
    flush();
}

void GameJournal::end() {
    if (ended_)
        return;
    push({Op::End, {mono_.nowMs(), wallNow(), {}, {}, {}}});
    flush();
    ended_ = true;
}

void GameJournal::startNewGame(const BoardState& fresh) {
    end();
    ended_ = false;
    resumedWallMs_ = 0;
    history_.clear();
    beginFresh(fresh);
}

void GameJournal::push(Op op) {
    // While the store cannot be written, the running clock's ticks waiting in a row become
    // one row from the first's values to the last's: ticks cost no memory however long the
    // trouble lasts, and the journal still ends where the board is.
    if (op.type == Op::Row && op.row.kind == JournalKind::Clock && !queue_.empty() &&
        queue_.back().type == Op::Row && queue_.back().row.kind == JournalKind::Clock) {
        JournalRow& waiting = queue_.back().row;
        for (auto it = op.row.before.begin(); it != op.row.before.end(); ++it)
            if (!waiting.before.contains(it.key()))
                waiting.before.insert(it.key(), it.value());
        waiting.after = boardrecord::applied(waiting.after, op.row.after);
        waiting.monoMs = op.row.monoMs;
        waiting.wallMs = op.row.wallMs;
        return;
    }
    if (queue_.size() >= kMaxPending) {
        // Hours of a store that cannot be written: keep the newest events.
        queue_.pop_front();
    }
    queue_.push_back(std::move(op));
}

bool GameJournal::tryOpen() {
    if (store_.isOpen())
        return true;
    const std::int64_t now = mono_.nowMs();
    if (lastAttemptMs_ && now - *lastAttemptMs_ < kRetryMs)
        return false;
    lastAttemptMs_ = now;
    const bool ok = store_.open();
    const QString notice = store_.takeNotice();
    if (!notice.isEmpty())
        say(notice);
    return ok;
}

void GameJournal::flush() {
    if (queue_.empty())
        return;
    if (!tryOpen()) {
        if (problem_.isEmpty()) {
            problem_ = QStringLiteral("Game journal not written (%1); the board runs on and "
                                      "keeps trying.")
                           .arg(store_.lastError());
            say(problem_);
        }
        return;
    }
    while (!queue_.empty()) {
        Op& op = queue_.front();
        bool ok = true;
        if (op.type == Op::Begin) {
            const int id = store_.beginGame(wallNow());
            ok = id >= 0;
            if (ok)
                game_ = id;
        } else if (op.type == Op::Row) {
            ok = game_ >= 0 && store_.append(game_, op.row);
        } else {
            ok = game_ < 0 || store_.endGame(game_, op.row.wallMs);
        }
        if (!ok) {
            if (problem_.isEmpty()) {
                problem_ = QStringLiteral("Game journal not written (%1); the board runs on "
                                          "and keeps trying.")
                               .arg(store_.lastError());
                say(problem_);
            }
            // A store that failed a write is opened afresh on the next try.
            store_.close();
            lastAttemptMs_ = mono_.nowMs();
            return;
        }
        queue_.pop_front();
    }
    if (!problem_.isEmpty()) {
        problem_.clear();
        say(QString());
    }
}

void GameJournal::say(const QString& text) {
    if (onMessage)
        onMessage(text);
}

BoardState replayRows(const std::vector<JournalRow>& rows) {
    QJsonObject record;
    for (const JournalRow& row : rows)
        record = boardrecord::applied(record, row.after);
    return boardrecord::fromRecord(record);
}
