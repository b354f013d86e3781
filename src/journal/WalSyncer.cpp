#include "journal/WalSyncer.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <chrono>

namespace {
std::atomic<int> nextConnection{0};
}

WalSyncer::WalSyncer(QString path, int intervalMs)
    : path_(std::move(path)), intervalMs_(intervalMs), thread_([this] { run(); }) {}

WalSyncer::~WalSyncer() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void WalSyncer::run() {
    const QString name = QStringLiteral("pucktally-journal-sync-%1").arg(nextConnection++);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path_);
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("PRAGMA busy_timeout=0"));
            std::unique_lock<std::mutex> lock(mutex_);
            while (!stop_) {
                wake_.wait_for(lock, std::chrono::milliseconds(intervalMs_));
                if (!dirty_.exchange(false))
                    continue;
                lock.unlock();
                // Passive: never waits for the writer; what it cannot copy now it copies
                // next time, but the log itself is on the disk once this returns.
                q.exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
                ++flushes_;
                lock.lock();
            }
            if (dirty_.exchange(false))
                q.exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}
