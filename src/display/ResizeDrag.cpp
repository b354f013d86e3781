#include "display/ResizeDrag.h"

ResizeDrag::ResizeDrag(std::function<void()> settled) {
    settle_.setSingleShot(true);
    settle_.setInterval(kGapMs);
    QObject::connect(&settle_, &QTimer::timeout, [this, settled = std::move(settled)] {
        dragging_ = false;
        settled();
    });
}

void ResizeDrag::resized() {
    dragging_ = sinceResize_.isValid() && sinceResize_.elapsed() < kGapMs;
    sinceResize_.start();
    if (dragging_)
        settle_.start();
}
