#include "journal/WalSyncer.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <chrono>

namespace {
std::atomic<int> nextConnection{0};

// Runs a statement and lets go of it at once: a statement left open with a row unread keeps a
// read transaction on the log, and then the log can never start over and grows for good.
void runOnce(QSqlQuery& q, const QString& statement) {
    q.exec(statement);
    q.finish();
}
} // namespace

WalSyncer::WalSyncer(QString path, int intervalMs, int clockMs)
    : path_(std::move(path)), intervalMs_(intervalMs),
      clockMs_(clockMs >= 0 ? clockMs : 20 * intervalMs), thread_([this] { run(); }) {}

WalSyncer::~WalSyncer() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void WalSyncer::written(bool urgent) {
    ++writes_;
    dirty_.store(true);
    if (urgent)
        urgent_.store(true);
    // Only a thread waiting for a write is woken, or one gathering clock writes when another
    // comes: during its interval it sleeps on.
    if (!listening_.load() && !urgent)
        return;
    // Taken, so the thread cannot miss the wake between its check and its wait.
    { std::lock_guard<std::mutex> lock(mutex_); }
    wake_.notify_one();
}

void WalSyncer::run() {
    const QString name = QStringLiteral("pucktally-journal-sync-%1").arg(nextConnection++);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path_);
        if (db.open()) {
            QSqlQuery q(db);
            runOnce(q, QStringLiteral("PRAGMA busy_timeout=0"));
            // A checkpoint copies pages; kept in a cache they would only grow with the game.
            runOnce(q, QStringLiteral("PRAGMA cache_size=-64"));
            const QString checkpoint = QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)");
            const std::chrono::milliseconds interval(intervalMs_);
            std::unique_lock<std::mutex> lock(mutex_);
            while (!stop_) {
                listening_.store(true);
                wake_.wait(lock, [this] { return stop_ || dirty_.load(); });
                listening_.store(false);
                ++wakeUps_;
                if (stop_)
                    break;
                // Clock writes alone gather for longer.
                if (!urgent_.load()) {
                    wake_.wait_for(lock, std::chrono::milliseconds(clockMs_),
                                   [this] { return stop_ || urgent_.load(); });
                    ++wakeUps_;
                }
                // The writes of one interval go to the disk together.
                wake_.wait_for(lock, interval, [this] { return stop_; });
                ++wakeUps_;
                // Then the flush follows the next write at once (or an interval of quiet):
                // the log is then wholly copied when the write after it comes, and only
                // then can that write start the log over instead of making it longer.
                dirty_.store(false);
                listening_.store(true);
                wake_.wait_for(lock, interval, [this] { return stop_ || dirty_.load(); });
                listening_.store(false);
                ++wakeUps_;
                dirty_.store(false);
                urgent_.store(false);
                const std::int64_t upTo = writes_.load();
                lock.unlock();
                // Passive: never waits for the writer; what it cannot copy now it copies
                // next time, but the log itself is on the disk once this returns.
                runOnce(q, checkpoint);
                ++flushes_;
                copied_.store(upTo);
                lock.lock();
            }
            if (dirty_.exchange(false))
                runOnce(q, checkpoint);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}
