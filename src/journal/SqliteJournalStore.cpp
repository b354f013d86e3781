#include "journal/SqliteJournalStore.h"

#include "journal/WalSyncer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSqlError>
#include <atomic>

namespace {

std::atomic<int> nextConnection{0};

// SQLite's answers for a file that is not a database, or one whose pages are damaged.
bool isDamage(const QSqlError& e) {
    const QString code = e.nativeErrorCode();
    return code == QLatin1String("26") || code == QLatin1String("11") ||
           e.databaseText().contains(QLatin1String("not a database")) ||
           e.databaseText().contains(QLatin1String("malformed"));
}

QString compact(const QJsonObject& o) {
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

QJsonObject objectOf(const QString& text) {
    return QJsonDocument::fromJson(text.toUtf8()).object();
}

} // namespace

SqliteJournalStore::SqliteJournalStore(QString path, int syncIntervalMs)
    : path_(std::move(path)),
      connection_(QStringLiteral("pucktally-journal-%1").arg(nextConnection++)),
      syncIntervalMs_(syncIntervalMs) {}

SqliteJournalStore::~SqliteJournalStore() {
    close();
}

bool SqliteJournalStore::isOpen() const {
    return insert_ != nullptr;
}

void SqliteJournalStore::close() {
    if (syncer_ && db_.isOpen()) {
        // The last connection copies the log into the journal on closing, to the disk.
        QSqlQuery(db_).exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    }
    syncer_.reset();
    insert_.reset();
    if (db_.isValid()) {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
    }
}

std::int64_t SqliteJournalStore::flushes() const {
    return syncer_ ? syncer_->flushes() : 0;
}

bool SqliteJournalStore::flushedAll() const {
    return !syncer_ || syncer_->caughtUp();
}

QString SqliteJournalStore::takeNotice() {
    QString n;
    n.swap(notice_);
    return n;
}

bool SqliteJournalStore::fail(const QString& what, const QString& why) {
    error_ = what + QStringLiteral(": ") + why;
    return false;
}

bool SqliteJournalStore::open() {
    if (isOpen())
        return true;
    switch (openFile()) {
    case OpenResult::Ok:
        return true;
    case OpenResult::Failed:
        close();
        return false;
    case OpenResult::Damaged:
        close();
        if (!setAside())
            return false;
        if (openFile() == OpenResult::Ok)
            return true;
        close();
        return false;
    }
    return false;
}

SqliteJournalStore::OpenResult SqliteJournalStore::openFile() {
    const QFileInfo info(path_);
    if (!QDir().mkpath(info.absolutePath())) {
        fail(QStringLiteral("cannot create the folder %1").arg(info.absolutePath()),
             QStringLiteral("permission denied"));
        return OpenResult::Failed;
    }
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db_.setDatabaseName(path_);
    if (!db_.open()) {
        const QSqlError e = db_.lastError();
        fail(QStringLiteral("cannot open %1").arg(path_), e.text());
        return isDamage(e) ? OpenResult::Damaged : OpenResult::Failed;
    }
    QSqlQuery q(db_);
    q.exec(QStringLiteral("PRAGMA busy_timeout=200"));
    // The first read tells a file that is no database; another program's database is left
    // untouched (no log mode, no tables of ours written into it).
    if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
        fail(QStringLiteral("cannot read %1").arg(path_), q.lastError().text());
        return isDamage(q.lastError()) ? OpenResult::Damaged : OpenResult::Failed;
    }
    QStringList tables;
    while (q.next())
        tables << q.value(0).toString();
    tables.removeAll(QStringLiteral("sqlite_sequence"));
    tables.sort();
    if (!tables.isEmpty() &&
        tables != QStringList{QStringLiteral("events"), QStringLiteral("games")}) {
        fail(QStringLiteral("%1 is not a game journal").arg(path_), tables.join(QLatin1Char(',')));
        return OpenResult::Damaged;
    }
    // A truncated or overwritten file may still open; the check reads every page.
    if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next() ||
        q.value(0).toString() != QLatin1String("ok")) {
        fail(QStringLiteral("%1 is damaged").arg(path_),
             q.lastError().isValid() ? q.lastError().text() : q.value(0).toString());
        return OpenResult::Damaged;
    }
    const QStringList setup{
        QStringLiteral("PRAGMA journal_mode=WAL"),
        QStringLiteral("PRAGMA synchronous=NORMAL"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS games(id INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "started_wall INTEGER NOT NULL, ended_wall INTEGER)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS events(id INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "game INTEGER NOT NULL, mono_ms INTEGER NOT NULL, wall_ms INTEGER NOT NULL, "
                       "kind TEXT NOT NULL, what TEXT NOT NULL, before TEXT NOT NULL, "
                       "after TEXT NOT NULL)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS events_by_game ON events(game, id)"),
    };
    for (const QString& statement : setup) {
        if (!q.exec(statement)) {
            fail(QStringLiteral("cannot prepare %1").arg(path_), q.lastError().text());
            // A plain SQL error here means tables of our names but of another shape.
            const bool foreign = q.lastError().nativeErrorCode() == QLatin1String("1");
            return isDamage(q.lastError()) || foreign ? OpenResult::Damaged : OpenResult::Failed;
        }
    }
    auto insert = std::make_unique<QSqlQuery>(db_);
    if (!insert->prepare(QStringLiteral("INSERT INTO events(game, mono_ms, wall_ms, kind, what, "
                                        "before, after) VALUES (?, ?, ?, ?, ?, ?, ?)"))) {
        // Tables of the same names but another shape: not a journal of ours.
        fail(QStringLiteral("%1 is not a game journal").arg(path_), insert->lastError().text());
        return OpenResult::Damaged;
    }
    insert_ = std::move(insert);
    if (syncIntervalMs_ > 0) {
        // The syncer checkpoints; the board's own commits then never run one (with its two
        // disk flushes) on the board's thread.
        q.exec(QStringLiteral("PRAGMA wal_autocheckpoint=0"));
        // Nor does a commit that starts the log over wait for the disk: the syncer's
        // checkpoint takes the log to the disk, header and all, before it copies it.
        q.exec(QStringLiteral("PRAGMA synchronous=OFF"));
        // The board only appends: a small cache holds the pages it writes, and memory stays
        // the same however long the game.
        q.exec(QStringLiteral("PRAGMA cache_size=-256"));
        syncer_ = std::make_unique<WalSyncer>(path_, syncIntervalMs_);
    }
    error_.clear();
    return OpenResult::Ok;
}

bool SqliteJournalStore::setAside() {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString aside = path_ + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFile::exists(aside); ++n)
        aside = path_ + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
    if (!QFile::rename(path_, aside))
        return fail(QStringLiteral("cannot set the damaged journal %1 aside").arg(path_),
                    QStringLiteral("rename failed"));
    // The log and index belong to the damaged file; they go with it.
    for (const char* suffix : {"-wal", "-shm"}) {
        const QString side = path_ + QLatin1String(suffix);
        if (QFile::exists(side))
            QFile::rename(side, aside + QLatin1String(suffix));
    }
    notice_ = QStringLiteral("The game journal was damaged; it was set aside as %1 and a new one "
                             "started.")
                  .arg(QFileInfo(aside).fileName());
    return true;
}

int SqliteJournalStore::beginGame(std::int64_t wallMs) {
    if (!isOpen())
        return -1;
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("INSERT INTO games(started_wall) VALUES (?)"));
    q.addBindValue(static_cast<qint64>(wallMs));
    if (!q.exec()) {
        fail(QStringLiteral("cannot write to %1").arg(path_), q.lastError().text());
        return -1;
    }
    if (syncer_)
        syncer_->written();
    return q.lastInsertId().toInt();
}

bool SqliteJournalStore::append(int game, const JournalRow& row) {
    if (!isOpen())
        return false;
    insert_->bindValue(0, game);
    insert_->bindValue(1, static_cast<qint64>(row.monoMs));
    insert_->bindValue(2, static_cast<qint64>(row.wallMs));
    insert_->bindValue(3, row.kind);
    insert_->bindValue(4, row.after.keys().join(QLatin1Char(',')));
    insert_->bindValue(5, compact(row.before));
    insert_->bindValue(6, compact(row.after));
    if (!insert_->exec())
        return fail(QStringLiteral("cannot write to %1").arg(path_), insert_->lastError().text());
    if (syncer_)
        syncer_->written(row.kind != JournalKind::Clock);
    return true;
}

bool SqliteJournalStore::endGame(int game, std::int64_t wallMs) {
    return setGameEnd(game, static_cast<qint64>(wallMs));
}

// A game closed by a slip is taken up again: it has no end.
bool SqliteJournalStore::reopenGame(int game) {
    return setGameEnd(game, QVariant());
}

bool SqliteJournalStore::setGameEnd(int game, const QVariant& wallMs) {
    if (!isOpen())
        return false;
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("UPDATE games SET ended_wall = ? WHERE id = ?"));
    q.addBindValue(wallMs);
    q.addBindValue(game);
    if (!q.exec())
        return fail(QStringLiteral("cannot write to %1").arg(path_), q.lastError().text());
    if (syncer_)
        syncer_->written();
    return true;
}

std::vector<GameSummary> SqliteJournalStore::games() {
    std::vector<GameSummary> out;
    if (!isOpen())
        return out;
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("SELECT g.id, g.started_wall, COALESCE(g.ended_wall, 0), "
                               "(SELECT COUNT(*) FROM events e WHERE e.game = g.id) "
                               "FROM games g ORDER BY g.id"))) {
        fail(QStringLiteral("cannot read %1").arg(path_), q.lastError().text());
        return out;
    }
    while (q.next())
        out.push_back({q.value(0).toInt(), q.value(1).toLongLong(), q.value(2).toLongLong(),
                       q.value(3).toInt()});
    return out;
}

std::vector<JournalRow> SqliteJournalStore::rows(int game) {
    std::vector<JournalRow> out;
    if (!isOpen())
        return out;
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT mono_ms, wall_ms, kind, before, after FROM events "
                             "WHERE game = ? ORDER BY id"));
    q.addBindValue(game);
    if (!q.exec()) {
        fail(QStringLiteral("cannot read %1").arg(path_), q.lastError().text());
        return out;
    }
    while (q.next())
        out.push_back({q.value(0).toLongLong(), q.value(1).toLongLong(), q.value(2).toString(),
                       objectOf(q.value(3).toString()), objectOf(q.value(4).toString())});
    return out;
}
