#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <functional>

// Tells whether a widget's resizes come one right after another, as while a window is dragged
// to a new size, and calls back once the size has held still for a moment. A widget that is
// costly to draw at a new size draws roughly during a drag and properly once it settles.
class ResizeDrag {
  public:
    // A resize within this long of the one before is part of a drag.
    static constexpr int kGapMs = 250;

    explicit ResizeDrag(std::function<void()> settled);

    // Call on every resize of the widget.
    void resized();
    bool dragging() const { return dragging_; }

  private:
    QElapsedTimer sinceResize_;
    bool dragging_ = false;
    QTimer settle_;
};
