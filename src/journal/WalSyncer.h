#pragma once

#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

// A thread that flushes a WAL-mode SQLite journal to the disk every interval with a passive
// checkpoint on its own connection, so the event writes on the board's thread never wait for
// the disk. It flushes only after something was written (see written()).
class WalSyncer {
  public:
    WalSyncer(QString path, int intervalMs);
    ~WalSyncer();
    WalSyncer(const WalSyncer&) = delete;
    WalSyncer& operator=(const WalSyncer&) = delete;

    // Tells the syncer that the log has new content.
    void written() { dirty_.store(true, std::memory_order_relaxed); }
    // How many flushes ran, for tests and benchmarks.
    std::int64_t flushes() const { return flushes_.load(); }

  private:
    void run();

    QString path_;
    int intervalMs_;
    std::atomic<bool> dirty_{false};
    std::atomic<std::int64_t> flushes_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};
