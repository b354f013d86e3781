#pragma once

#include <QMouseEvent>
#include <QRect>

// Tells a click from a press dragged off the control: a click is a left press and a left
// release, both inside the control. The control forwards its two mouse events here.
class LeftClick {
  public:
    void press(QMouseEvent* event) {
        pressed_ = event->button() == Qt::LeftButton;
        event->accept();
    }
    // True when this release completes a click inside `area`.
    bool release(QMouseEvent* event, const QRect& area) {
        const bool wasPressed = pressed_;
        pressed_ = false;
        event->accept();
        return wasPressed && event->button() == Qt::LeftButton &&
               area.contains(event->position().toPoint());
    }

  private:
    bool pressed_ = false;
};
