#include "display/ImageBox.h"

#include <QMouseEvent>
#include <QPainter>

ImageBox::ImageBox(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void ImageBox::setImage(const QImage& image) {
    image_ = image;
    scaled_ = QPixmap();
    fitToImage();
    update();
}

void ImageBox::setStretch(bool on) {
    if (on == stretch_) {
        return;
    }
    stretch_ = on;
    fitToImage();
    update();
}

void ImageBox::fitToImage() {
    if (!stretch_ && !image_.isNull()) {
        resize(image_.size());
    }
}

void ImageBox::paintEvent(QPaintEvent*) {
    if (image_.isNull()) {
        return;
    }
    QPainter painter(this);
    if (!stretch_) {
        painter.drawImage(QPoint(0, 0), image_);
        return;
    }
    if (scaled_.size() != size()) {
        scaled_ = QPixmap::fromImage(
            image_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    painter.drawPixmap(QPoint(0, 0), scaled_);
}

void ImageBox::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ImageBox::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasPressed = pressed_;
    pressed_ = false;
    event->accept();
    if (wasPressed && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}
