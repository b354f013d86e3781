#pragma once

#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

// A thread that flushes a WAL-mode SQLite journal to the disk with a passive checkpoint on its
// own connection, so the event writes on the board's thread never wait for the disk. It sleeps
// until something was written (see written()), lets the writes of one interval gather, and
// flushes them together just after the next write, so that the log starts over rather than
// growing with the game; what was written is on the disk within about two intervals. Writes
// that only move the clock gather for `clockMs` instead, twenty intervals unless told (a clock
// on the disk a second or two later costs the rink nothing; a flush every second would cost a
// running clock more than its ticks),
// until any other write comes. With nothing written it never wakes.
class WalSyncer {
  public:
    WalSyncer(QString path, int intervalMs, int clockMs = -1);
    ~WalSyncer();
    WalSyncer(const WalSyncer&) = delete;
    WalSyncer& operator=(const WalSyncer&) = delete;

    // Tells the syncer that the log has new content; `urgent` unless it only moved the clock.
    void written(bool urgent = true);
    // How many flushes ran, for tests and benchmarks.
    std::int64_t flushes() const { return flushes_.load(); }
    // How many times the thread woke, for tests: three times per flush, never while idle.
    std::int64_t wakeUps() const { return wakeUps_.load(); }
    // Whether a flush that began after the last write has ended: the log is then wholly
    // copied into the journal, and the next write starts it over. For tests, which wait for
    // this instead of for a time.
    bool caughtUp() const { return copied_.load() == writes_.load(); }

  private:
    void run();

    QString path_;
    int intervalMs_;
    int clockMs_;
    std::atomic<bool> dirty_{false};
    std::atomic<bool> urgent_{false};
    std::atomic<bool> listening_{false}; // the thread waits for a write
    std::atomic<std::int64_t> flushes_{0};
    std::atomic<std::int64_t> wakeUps_{0};
    std::atomic<std::int64_t> writes_{0}; // written() calls, each after its commit
    std::atomic<std::int64_t> copied_{0}; // writes_ as it was when the last flush began
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};
