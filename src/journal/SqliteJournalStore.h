#pragma once

#include "journal/JournalStore.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <memory>

class WalSyncer;

// The journal in one SQLite file (Qt's QSQLITE driver) in WAL mode with synchronous=NORMAL:
// a commit is one append to the write-ahead log, so an event costs no disk flush, and a
// process that dies loses nothing it committed. For power cuts a second thread flushes the
// log to the disk about every `syncIntervalMs` (a passive checkpoint), so at most about twice
// that much of the last events can be lost; the board's thread itself never waits for the disk. A
// file that is not a database or fails the integrity check is renamed to "<name>.damaged-<date>"
// and a fresh journal started in its place.
class SqliteJournalStore final : public JournalStore {
  public:
    explicit SqliteJournalStore(QString path, int syncIntervalMs = 100);
    ~SqliteJournalStore() override;

    bool open() override;
    bool isOpen() const override;
    void close() override;
    QString lastError() const override { return error_; }
    QString takeNotice() override;

    int beginGame(std::int64_t wallMs) override;
    bool append(int game, const JournalRow& row) override;
    bool endGame(int game, std::int64_t wallMs) override;
    bool reopenGame(int game) override;

    std::vector<GameSummary> games() override;
    std::vector<JournalRow> rows(int game) override;

    const QString& path() const { return path_; }
    // The syncer's flushes so far, and whether one began after the last write and has ended
    // (true without a syncer); for tests and benchmarks.
    std::int64_t flushes() const;
    bool flushedAll() const;

  private:
    // The game's end time, or none (a null variant) for a game taken up again.
    bool setGameEnd(int game, const QVariant& wallMs);
    enum class OpenResult { Ok, Damaged, Failed };
    OpenResult openFile();
    bool setAside();
    bool fail(const QString& what, const QString& why);

    QString path_;
    QString connection_;
    int syncIntervalMs_;
    QSqlDatabase db_;
    std::unique_ptr<QSqlQuery> insert_;
    std::unique_ptr<WalSyncer> syncer_;
    QString error_;
    QString notice_;
};
