#include "platform/WakeTimer.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

// Linux: a timerfd set to an absolute time of CLOCK_MONOTONIC, watched by the event loop. The
// loop's own timers round their waits to whole milliseconds; a ready file descriptor wakes it
// at once.
struct WakeTimer::Impl {
    int fd = -1;
    std::unique_ptr<QSocketNotifier> notifier;
    QTimer fallback; // only when no timerfd can be had
    bool active = false;

    void drain() const {
        std::uint64_t expirations = 0;
        while (::read(fd, &expirations, sizeof expirations) < 0 && errno == EINTR) {
        }
    }
};

WakeTimer::WakeTimer(QObject* parent) : QObject(parent), d_(std::make_unique<Impl>()) {
    d_->fd = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (d_->fd < 0) {
        d_->fallback.setSingleShot(true);
        d_->fallback.setTimerType(Qt::PreciseTimer);
        connect(&d_->fallback, &QTimer::timeout, this, &WakeTimer::timeout);
    }
}

void WakeTimer::watch() {
    // Made on the first start, in the thread's event loop, not wherever the timer was built.
    d_->notifier = std::make_unique<QSocketNotifier>(d_->fd, QSocketNotifier::Read);
    connect(d_->notifier.get(), &QSocketNotifier::activated, this, [this] {
        d_->drain();
        if (!d_->active)
            return;
        d_->active = false;
        emit timeout();
    });
}

WakeTimer::~WakeTimer() {
    if (d_->fd >= 0) {
        d_->notifier.reset();
        ::close(d_->fd);
    }
}

void WakeTimer::start(std::int64_t n) {
    if (d_->fd < 0) {
        d_->fallback.start(static_cast<int>(std::max<std::int64_t>(n, 0)));
        return;
    }
    if (!d_->notifier)
        watch();
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const std::int64_t nowMs = std::int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
    itimerspec when{};
    if (n <= 0) {
        when.it_value = now; // already passed: due at once (a zero value would disarm)
    } else {
        const std::int64_t at = nowMs + n;
        when.it_value.tv_sec = static_cast<time_t>(at / 1000);
        when.it_value.tv_nsec = static_cast<long>((at % 1000) * 1'000'000);
    }
    // Setting the time also clears an expiry not yet read, so none of the old time fires.
    ::timerfd_settime(d_->fd, TFD_TIMER_ABSTIME, &when, nullptr);
    d_->active = true;
}

void WakeTimer::stop() {
    if (d_->fd < 0) {
        d_->fallback.stop();
        return;
    }
    const itimerspec off{};
    ::timerfd_settime(d_->fd, TFD_TIMER_ABSTIME, &off, nullptr);
    d_->active = false;
}

bool WakeTimer::isActive() const {
    return d_->fd >= 0 ? d_->active : d_->fallback.isActive();
}
