#include "platform/WakeTimer.h"

#include <QTimer>

#include <algorithm>

// Elsewhere: the toolkit's precise timer, which counts whole milliseconds from the moment it
// is started.
struct WakeTimer::Impl {
    QTimer timer;
};

WakeTimer::WakeTimer(QObject* parent) : QObject(parent), d_(std::make_unique<Impl>()) {
    d_->timer.setSingleShot(true);
    d_->timer.setTimerType(Qt::PreciseTimer);
    connect(&d_->timer, &QTimer::timeout, this, &WakeTimer::timeout);
}

WakeTimer::~WakeTimer() = default;

void WakeTimer::watch() {}

void WakeTimer::start(std::int64_t n) {
    d_->timer.start(static_cast<int>(std::clamp<std::int64_t>(n, 0, 1'000'000)));
}

void WakeTimer::stop() {
    d_->timer.stop();
}

bool WakeTimer::isActive() const {
    return d_->timer.isActive();
}
