#include "display/PictureBox.h"

#include "display/Colors.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setBackColor(std::int32_t bgr) {
    bgr = maskBgr(bgr);
    if (bgr != backBgr_) {
        backBgr_ = bgr;
        update();
    }
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), colorFromBgr(backBgr_));
}

void PictureBox::keyPressEvent(QKeyEvent* event) {
    event->accept();
    emit keyDown(event);
}

void PictureBox::keyReleaseEvent(QKeyEvent* event) {
    event->accept();
    emit keyUp(event);
}

void PictureBox::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    emit gotFocus();
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    click_.press(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (click_.release(event, rect())) {
        emit clicked();
    }
}
